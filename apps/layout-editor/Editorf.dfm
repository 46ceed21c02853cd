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
  OnResize = FormResize
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
    object NewKeyBtn: TButton
      Left = 4
      Top = 4
      Width = 76
      Height = 24
      Caption = 'New Key'
      TabOrder = 0
      OnClick = NewKeyItemClick
    end
    object DeleteKeyBtn: TButton
      Left = 84
      Top = 4
      Width = 84
      Height = 24
      Caption = 'Delete Key'
      TabOrder = 1
      OnClick = DeleteKeyItemClick
    end
    object PropertiesBtn: TButton
      Left = 172
      Top = 4
      Width = 108
      Height = 24
      Caption = 'Key Properties'#133''
      TabOrder = 2
      OnClick = PropertiesItemClick
    end
    object ShiftLeftBtn: TButton
      Left = 284
      Top = 4
      Width = 78
      Height = 24
      Caption = 'Shift Left'
      TabOrder = 3
      OnClick = ShiftItemClick
    end
    object ShiftRightBtn: TButton
      Left = 366
      Top = 4
      Width = 84
      Height = 24
      Caption = 'Shift Right'
      TabOrder = 4
      OnClick = ShiftItemClick
    end
    object ShiftUpBtn: TButton
      Left = 454
      Top = 4
      Width = 74
      Height = 24
      Caption = 'Shift Up'
      TabOrder = 5
      OnClick = ShiftItemClick
    end
    object ShiftDownBtn: TButton
      Left = 532
      Top = 4
      Width = 86
      Height = 24
      Caption = 'Shift Down'
      TabOrder = 6
      OnClick = ShiftItemClick
    end
    object DeltaLabel: TLabel
      Left = 624
      Top = 9
      Caption = 'by'
      FocusControl = DeltaEdit
    end
    object DeltaEdit: TEdit
      Left = 644
      Top = 5
      Width = 40
      Height = 21
      TabOrder = 7
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
    TabOrder = 3
  end
  object KeyPanel: TPanel
    Left = 876
    Top = 34
    Width = 124
    Height = 362
    Align = alRight
    BevelOuter = bvNone
    TabOrder = 1
    object KeyPanelLabel: TLabel
      Left = 8
      Top = 6
      Width = 110
      Caption = 'Selected keys'
    end
    object LeftLabel: TLabel
      Left = 8
      Top = 28
      Width = 50
      Height = 17
      AutoSize = False
      Caption = '&Left'
      FocusControl = LeftEdit
    end
    object LeftEdit: TEdit
      Left = 60
      Top = 24
      Width = 52
      Height = 21
      TabOrder = 0
      OnExit = KeyFieldExit
      OnKeyDown = KeyFieldKeyDown
    end
    object TopLabel: TLabel
      Left = 8
      Top = 53
      Width = 50
      Height = 17
      AutoSize = False
      Caption = '&Top'
      FocusControl = TopEdit
    end
    object TopEdit: TEdit
      Left = 60
      Top = 49
      Width = 52
      Height = 21
      TabOrder = 1
      OnExit = KeyFieldExit
      OnKeyDown = KeyFieldKeyDown
    end
    object WidthLabel: TLabel
      Left = 8
      Top = 78
      Width = 50
      Height = 17
      AutoSize = False
      Caption = '&Width'
      FocusControl = WidthEdit
    end
    object WidthEdit: TEdit
      Left = 60
      Top = 74
      Width = 52
      Height = 21
      TabOrder = 2
      OnExit = KeyFieldExit
      OnKeyDown = KeyFieldKeyDown
    end
    object HeightLabel: TLabel
      Left = 8
      Top = 103
      Width = 50
      Height = 17
      AutoSize = False
      Caption = '&Height'
      FocusControl = HeightEdit
    end
    object HeightEdit: TEdit
      Left = 60
      Top = 99
      Width = 52
      Height = 21
      TabOrder = 3
      OnExit = KeyFieldExit
      OnKeyDown = KeyFieldKeyDown
    end
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
  object EditorBox: TScrollBox
    Left = 0
    Top = 34
    Width = 876
    Height = 362
    HorzScrollBar.Tracking = True
    VertScrollBar.Tracking = True
    Align = alClient
    BorderStyle = bsNone
    Color = clWhite
    TabOrder = 3
    object Editor: TKeyboardLayoutEditor
      Left = 0
      Top = 0
      Width = 876
      Height = 362
      BevelOuter = bvLowered
      Color = clWhite
      OnKeyClicked = EditorKeyClicked
      OnKeyRightClicked = EditorKeyRightClicked
    end
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
      object UndoItem: TMenuItem
        Caption = '&Undo'
        ShortCut = 16474
        OnClick = UndoItemClick
      end
      object RedoItem: TMenuItem
        Caption = '&Redo'
        ShortCut = 16473
        OnClick = RedoItemClick
      end
      object N4: TMenuItem
        Caption = '-'
      end
      object CutItem: TMenuItem
        Caption = 'Cu&t'
        ShortCut = 16472
        OnClick = CutItemClick
      end
      object CopyItem: TMenuItem
        Caption = '&Copy'
        ShortCut = 16451
        OnClick = CopyItemClick
      end
      object PasteItem: TMenuItem
        Caption = '&Paste'
        ShortCut = 16470
        OnClick = PasteItemClick
      end
      object SelectAllItem: TMenuItem
        Caption = 'Select &All'
        ShortCut = 16449
        OnClick = SelectAllItemClick
      end
      object SelectNextItem: TMenuItem
        Caption = 'Select Ne&xt Key'
        ShortCut = 34
        OnClick = SelectNextItemClick
      end
      object SelectPreviousItem: TMenuItem
        Caption = 'Select Pre&vious Key'
        ShortCut = 33
        OnClick = SelectNextItemClick
      end
      object N5: TMenuItem
        Caption = '-'
      end
      object NewKeyItem: TMenuItem
        Caption = '&New Key'
        OnClick = NewKeyItemClick
      end
      object DeleteKeyItem: TMenuItem
        Caption = '&Delete Key'
        ShortCut = 46
        OnClick = DeleteKeyItemClick
      end
      object PropertiesItem: TMenuItem
        Caption = 'Key Propert&ies'#133
        OnClick = PropertiesItemClick
      end
      object ClearAllItem: TMenuItem
        Caption = 'Cl&ear All'#133
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
      object N6: TMenuItem
        Caption = '-'
      end
      object MoveItem: TMenuItem
        Caption = '&Move Selection'
        object MoveLeftItem: TMenuItem
          Caption = 'Left'
          ShortCut = 37
          OnClick = MoveItemClick
        end
        object MoveRightItem: TMenuItem
          Caption = 'Right'
          ShortCut = 39
          OnClick = MoveItemClick
        end
        object MoveUpItem: TMenuItem
          Caption = 'Up'
          ShortCut = 38
          OnClick = MoveItemClick
        end
        object MoveDownItem: TMenuItem
          Caption = 'Down'
          ShortCut = 40
          OnClick = MoveItemClick
        end
        object MoveLeftFarItem: TMenuItem
          Caption = 'Left by a Key'
          ShortCut = 8229
          OnClick = MoveItemClick
        end
        object MoveRightFarItem: TMenuItem
          Caption = 'Right by a Key'
          ShortCut = 8231
          OnClick = MoveItemClick
        end
        object MoveUpFarItem: TMenuItem
          Caption = 'Up by a Key'
          ShortCut = 8230
          OnClick = MoveItemClick
        end
        object MoveDownFarItem: TMenuItem
          Caption = 'Down by a Key'
          ShortCut = 8232
          OnClick = MoveItemClick
        end
      end
      object AlignItem: TMenuItem
        Caption = 'Ali&gn'
        object AlignLeftItem: TMenuItem
          Caption = '&Left Edges'
          OnClick = AlignItemClick
        end
        object AlignTopItem: TMenuItem
          Caption = '&Top Edges'
          OnClick = AlignItemClick
        end
        object AlignRightItem: TMenuItem
          Caption = '&Right Edges'
          OnClick = AlignItemClick
        end
        object AlignBottomItem: TMenuItem
          Caption = '&Bottom Edges'
          OnClick = AlignItemClick
        end
        object DistributeAcrossItem: TMenuItem
          Caption = 'Distribute &Across'
          OnClick = AlignItemClick
        end
        object DistributeDownItem: TMenuItem
          Caption = 'Distribute &Down'
          OnClick = AlignItemClick
        end
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
