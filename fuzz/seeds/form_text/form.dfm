object Form1: TFzForm
  Caption = 'Main'
  Align = alClient
  Visible = False
  Color = clRed
  Anchors = [fsBold, fsUnderline]
  Ratio = 0.250000000000000000
  Font.Name = 'Arial'
  Font.Size = 12
  Font.Style = [fsItalic]
  Lines.Strings = (
    'first'
    'second')
  Keys.Items = (
    1
    300)
  Keys.Blob = {DEADBEEF}
  OnClick = Click
  object Panel1: TFzControl
    Left = 10
    Color = 305419896
    Keys.Items = ()
    Link = Button1
    object Button1: TFzControl
      Left = -3
      Keys.Items = ()
      Link = Panel1
      OnClick = Click
    end
  end
  object Extra: TFzControl
    Keys.Items = ()
    Link = Owner
  end
end
