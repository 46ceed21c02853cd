object Form1: TForm1
  Left = -5
  Width = 128
  Color = -2147483633
  Big = 1099511627776
  Ratio = 1.500000000000000000
  Tenth = 0.100000000000000000
  Tiny = 0.000000250000000000
  Third = 3.3333333333333333334E-1
  Huge = 1E20
  Big = -1234567890123456.000000000000000000
  Single = 2.5s
  Money = 123400c
  When = 36526.5d
  Caption = 'It'#39's'#13#10'caf'#233
  Empty = ''
  Long = 
    'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa' +
    'bbbb'
  Align = alClient
  Visible = False
  Enabled = True
  Link = nil
  Value = Null
  ActiveControl = Owner.Button1
  Font.Style = [fsBold, fsItalic]
  Anchors = []
  Items.Strings = (
    'one'
    'two')
  Nested = (
    1
    (
      2
      3)
    ())
  Data = {0102FF}
  LongData = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    2021}
  NoData = {}
  Columns = <
    item
      Width = 10
    end
    item [3]
      Caption = 'x'
    end>
  NoItems = <>
  object Button1: TButton
    OnClick = Button1Click
  end
  inherited Panel1: TPanel [2]
    object TLabel
    end
  end
  inline Frame1: TFrame
  end
end
