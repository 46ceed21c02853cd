object Form1: TForm
  Left = 0
  Top = 0
  Width = 440
  Height = 400
  Caption = 'Point of sale'
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Edit1: TEdit
    Left = 16
    Top = 16
    Width = 240
    Height = 21
    TabOrder = 0
  end
  object Keyboard1: TKeyboard
    Left = 16
    Top = 48
    Width = 240
    Height = 300
    LinkedControl = Edit1
    Keys.Items = (
      7
      'Back'
      ''
      ''
      ''
      ''
      ''
      0
      0
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '/'
      '/'
      '/'
      '/'
      '/'
      '/'
      8
      0
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '*'
      '*'
      '*'
      '*'
      '*'
      '*'
      16
      0
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '-'
      '-'
      '-'
      '-'
      '-'
      '-'
      24
      0
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '7'
      '7'
      '7'
      '7'
      '7'
      '7'
      0
      8
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '8'
      '8'
      '8'
      '8'
      '8'
      '8'
      8
      8
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '9'
      '9'
      '9'
      '9'
      '9'
      '9'
      16
      8
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '+'
      '+'
      '+'
      '+'
      '+'
      '+'
      24
      8
      8
      16
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '4'
      '4'
      '4'
      '4'
      '4'
      '4'
      0
      16
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '5'
      '5'
      '5'
      '5'
      '5'
      '5'
      8
      16
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '6'
      '6'
      '6'
      '6'
      '6'
      '6'
      16
      16
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '1'
      '1'
      '1'
      '1'
      '1'
      '1'
      0
      24
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '2'
      '2'
      '2'
      '2'
      '2'
      '2'
      8
      24
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '3'
      '3'
      '3'
      '3'
      '3'
      '3'
      16
      24
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      5
      #195
      ''
      ''
      ''
      ''
      ''
      24
      24
      8
      16
      True
      True
      'Wingdings'
      10
      -2147483640
      0
      0
      '0'
      '0'
      '0'
      '0'
      '0'
      '0'
      0
      32
      16
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0
      0
      '.'
      '.'
      '.'
      '.'
      '.'
      '.'
      16
      32
      8
      8
      True
      True
      'MS Sans Serif'
      10
      -2147483640
      0)
  end
end
