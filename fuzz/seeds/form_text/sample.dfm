object SampleForm: TSampleForm
  Caption = 'Sample'#233
  Items.Strings = (
    'one'
    'two')
  object Button1: TButton
    Left = 8
  end
end
