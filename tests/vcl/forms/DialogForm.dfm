object DialogForm: TDialogForm
  Left = 370
  Top = 216
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Key Properties'
  ClientHeight = 381
  ClientWidth = 395
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  OnClose = FormClose
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object Label7: TLabel
    Left = 8
    Top = 272
    Width = 48
    Height = 13
    Caption = 'Key Width'
  end
  object FontLabel: TLabel
    Left = 232
    Top = 289
    Width = 46
    Height = 13
    Caption = 'FontLabel'
  end
  object KeyTypeRadioGroup: TRadioGroup
    Left = 8
    Top = 8
    Width = 245
    Height = 254
    Caption = ' Key Type '
    Columns = 2
    ItemIndex = 0
    Items.Strings = (
      'Normal'
      'Shift'
      'Caps Lock'
      'Escape'
      'Alt Gr'
      'Enter'
      'Tabulator'
      'Backspace'
      'Insert'
      'Delete'
      'Home'
      'End'
      'Page Up'
      'Page Down'
      'Left'
      'Right'
      'Up'
      'Down'
      'Function [ F1 - F12 ]')
    TabOrder = 0
    OnClick = KeyTypeRadioGroupClick
  end
  object KeyCaptionsGroupBox: TGroupBox
    Left = 264
    Top = 8
    Width = 121
    Height = 121
    Caption = ' Key Captions '
    TabOrder = 1
    object Label1: TLabel
      Left = 12
      Top = 24
      Width = 36
      Height = 13
      Caption = 'Normal:'
      FocusControl = NormalCaptionEdit
    end
    object NormalCaptionEdit: TEdit
      Left = 60
      Top = 20
      Width = 49
      Height = 21
      TabOrder = 0
    end
    object ShiftCaptionEdit: TEdit
      Left = 60
      Top = 54
      Width = 49
      Height = 21
      TabOrder = 1
    end
    object AltGrCaptionEdit: TEdit
      Left = 60
      Top = 86
      Width = 49
      Height = 21
      TabOrder = 2
    end
  end
  object KeyWidthComboBox: TComboBox
    Left = 8
    Top = 288
    Width = 53
    Height = 21
    Style = csDropDownList
    ItemHeight = 13
    ItemIndex = 1
    TabOrder = 4
    Text = '1'
    Items.Strings = (
      '1/2'
      '1'
      '1 1/2'
      '2')
  end
  object FontBtn: TButton
    Left = 148
    Top = 284
    Width = 75
    Height = 25
    Caption = '&Font'
    TabOrder = 5
    OnClick = FontBtnClick
  end
  object OKBtn: TButton
    Left = 232
    Top = 344
    Width = 75
    Height = 25
    Caption = '&OK'
    Default = True
    ModalResult = 1
    TabOrder = 2
  end
  object CancelBtn: TButton
    Left = 312
    Top = 344
    Width = 75
    Height = 25
    Cancel = True
    Caption = '&Cancel'
    ModalResult = 2
    TabOrder = 3
  end
  object FontDialog: TFontDialog
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    MinFontSize = 0
    MaxFontSize = 0
    Options = [fdEffects, fdForceFontExist]
    Left = 352
    Top = 280
  end
end
