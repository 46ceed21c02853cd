object TestDialogForm: TTestDialogForm
  Left = 200
  Top = 150
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Key Test'
  ClientHeight = 200
  ClientWidth = 330
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object KindRadioGroup: TRadioGroup
    Left = 8
    Top = 8
    Width = 150
    Height = 105
    Caption = ' Key Type '
    Columns = 1
    ItemIndex = 0
    Items.Strings = (
      'Normal'
      'Shift'
      'Caps Lock'
      'Enter')
    TabOrder = 0
  end
  object CaptionsGroupBox: TGroupBox
    Left = 168
    Top = 8
    Width = 153
    Height = 105
    Caption = ' Key Captions '
    TabOrder = 1
    object Label1: TLabel
      Left = 12
      Top = 24
      Width = 36
      Height = 13
      Caption = 'Normal:'
    end
    object Label2: TLabel
      Left = 12
      Top = 58
      Width = 24
      Height = 13
      Caption = 'Shift:'
    end
    object NormalEdit: TEdit
      Left = 60
      Top = 20
      Width = 81
      Height = 21
      TabOrder = 0
      Text = 'a'
    end
    object ShiftEdit: TEdit
      Left = 60
      Top = 54
      Width = 81
      Height = 21
      TabOrder = 1
      Text = 'A'
    end
  end
  object SizeComboBox: TComboBox
    Left = 8
    Top = 128
    Width = 53
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 1
    TabOrder = 2
    Items.Strings = (
      '1/2'
      '1'
      '1 1/2')
  end
  object OKBtn: TButton
    Left = 166
    Top = 164
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 3
  end
  object CancelBtn: TButton
    Left = 246
    Top = 164
    Width = 75
    Height = 25
    Cancel = True
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 4
  end
end
