object EditorForm: TEditorForm
  Left = 120
  Top = 80
  Caption = 'Quimbel Layout Editor'
  ClientHeight = 696
  ClientWidth = 1000
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu
  OldCreateOrder = False
  Position = poScreenCenter
  OnCloseQuery = FormCloseQuery
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBar: TPanel
    Left = 0
    Top = 0
    Width = 1000
    Height = 34
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object NewKeyBtn: TSpeedButton
      Left = 4
      Top = 4
      Width = 72
      Height = 24
      Caption = 'New Key'
      Flat = True
      OnClick = NewKeyItemClick
    end
    object DeleteKeyBtn: TSpeedButton
      Left = 80
      Top = 4
      Width = 80
      Height = 24
      Caption = 'Delete Key'
      Flat = True
      OnClick = DeleteKeyItemClick
    end
    object PropertiesBtn: TSpeedButton
      Left = 164
      Top = 4
      Width = 104
      Height = 24
      Caption = 'Key Properties'#133
      Flat = True
      OnClick = PropertiesItemClick
    end
    object ShiftLeftBtn: TSpeedButton
      Left = 288
      Top = 4
      Width = 74
      Height = 24
      Caption = 'Shift Left'
      Flat = True
      OnClick = ShiftItemClick
    end
    object ShiftRightBtn: TSpeedButton
      Left = 366
      Top = 4
      Width = 80
      Height = 24
      Caption = 'Shift Right'
      Flat = True
      OnClick = ShiftItemClick
    end
    object ShiftUpBtn: TSpeedButton
      Left = 450
      Top = 4
      Width = 70
      Height = 24
      Caption = 'Shift Up'
      Flat = True
      OnClick = ShiftItemClick
    end
    object ShiftDownBtn: TSpeedButton
      Left = 524
      Top = 4
      Width = 82
      Height = 24
      Caption = 'Shift Down'
      Flat = True
      OnClick = ShiftItemClick
    end
    object DeltaLabel: TLabel
      Left = 618
      Top = 10
      Caption = 'by'
    end
    object DeltaEdit: TEdit
      Left = 638
      Top = 6
      Width = 40
      Height = 21
      TabOrder = 0
      Text = '1'
    end
  end
  object StatusPanel: TPanel
    Left = 0
    Top = 674
    Width = 1000
    Height = 22
    Align = alBottom
    Alignment = taLeftJustify
    BevelOuter = bvLowered
    TabOrder = 1
  end
  object PreviewPanel: TPanel
    Left = 0
    Top = 396
    Width = 1000
    Height = 278
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 2
    object PreviewEdit: TEdit
      Left = 0
      Top = 0
      Width = 1000
      Height = 28
      TabOrder = 0
    end
    object PreviewKeyboard: TKeyboard
      Left = 0
      Top = 28
      Width = 1000
      Height = 250
      LinkedControl = PreviewEdit
    end
  end
  object Editor: TKeyboardLayoutEditor
    Left = 0
    Top = 34
    Width = 1000
    Height = 362
    Align = alClient
    BevelOuter = bvLowered
    Color = clWhite
    OnKeyClicked = EditorKeyClicked
    OnKeyRightClicked = EditorKeyRightClicked
  end
  object MainMenu: TMainMenu
    object FileMenu: TMenuItem
      Caption = '&File'
      object NewItem: TMenuItem
        Caption = '&New'
        ShortCut = 16462
        OnClick = NewItemClick
      end
      object OpenItem: TMenuItem
        Caption = '&Open'#133
        ShortCut = 16463
        OnClick = OpenItemClick
      end
      object BuiltInItem: TMenuItem
        Caption = 'Open &built-in layout'
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object SaveItem: TMenuItem
        Caption = '&Save'
        ShortCut = 16467
        OnClick = SaveItemClick
      end
      object SaveAsItem: TMenuItem
        Caption = 'Save &As'#133
        OnClick = SaveAsItemClick
      end
      object N2: TMenuItem
        Caption = '-'
      end
      object QuitItem: TMenuItem
        Caption = '&Quit'
        ShortCut = 16465
        OnClick = QuitItemClick
      end
    end
    object EditMenu: TMenuItem
      Caption = '&Edit'
      object NewKeyItem: TMenuItem
        Caption = '&New Key'
        OnClick = NewKeyItemClick
      end
      object DeleteKeyItem: TMenuItem
        Caption = '&Delete Key'
        OnClick = DeleteKeyItemClick
      end
      object PropertiesItem: TMenuItem
        Caption = 'Key &Properties'#133
        OnClick = PropertiesItemClick
      end
      object ClearAllItem: TMenuItem
        Caption = '&Clear All'#133
        OnClick = ClearAllItemClick
      end
      object KeyFontItem: TMenuItem
        Caption = 'Set Key &Font'#133
        OnClick = KeyFontItemClick
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object ShiftLeftItem: TMenuItem
        Caption = 'Shift &Left'
        OnClick = ShiftItemClick
      end
      object ShiftRightItem: TMenuItem
        Caption = 'Shift &Right'
        OnClick = ShiftItemClick
      end
      object ShiftUpItem: TMenuItem
        Caption = 'Shift &Up'
        OnClick = ShiftItemClick
      end
      object ShiftDownItem: TMenuItem
        Caption = 'Shift &Down'
        OnClick = ShiftItemClick
      end
    end
    object ViewMenu: TMenuItem
      Caption = '&View'
      object GridColorItem: TMenuItem
        Caption = '&Grid Colour'
        object GridSilverItem: TMenuItem
          Caption = '&Silver'
          Checked = True
          GroupIndex = 1
          RadioItem = True
          OnClick = GridColorItemClick
        end
        object GridGrayItem: TMenuItem
          Caption = '&Grey'
          GroupIndex = 1
          RadioItem = True
          OnClick = GridColorItemClick
        end
        object GridBlueItem: TMenuItem
          Caption = 'Light &blue'
          GroupIndex = 1
          RadioItem = True
          OnClick = GridColorItemClick
        end
        object GridBlackItem: TMenuItem
          Caption = 'Blac&k'
          GroupIndex = 1
          RadioItem = True
          OnClick = GridColorItemClick
        end
      end
      object LimitItem: TMenuItem
        Caption = '&Limit Design Area'
        Checked = True
        OnClick = LimitItemClick
      end
      object PreviewItem: TMenuItem
        Caption = '&Preview'
        Checked = True
        OnClick = PreviewItemClick
      end
      object CodePageItem: TMenuItem
        Caption = '&Code Page'
      end
    end
  end
  object KeyMenu: TPopupMenu
    object KeyDeleteItem: TMenuItem
      Caption = '&Delete Key'
      OnClick = DeleteKeyItemClick
    end
    object KeyPropertiesItem: TMenuItem
      Caption = 'Key &Properties'#133
      OnClick = PropertiesItemClick
    end
  end
  object OpenDialog: TOpenDialog
    DefaultExt = 'kly'
    Filter = 'Keyboard Layout (*.kly)|*.kly'
    Options = [ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing]
    Title = 'Open Keyboard Layout'
  end
  object SaveDialog: TSaveDialog
    DefaultExt = 'kly'
    Filter = 'Keyboard Layout (*.kly)|*.kly'
    Options = [ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing]
    Title = 'Save Keyboard Layout'
  end
  object FontDialog: TFontDialog
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    Options = [fdEffects, fdForceFontExist]
  end
end
