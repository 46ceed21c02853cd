object IdeMainForm: TIdeMainForm
  Left = 0
  Top = 0
  Caption = 'Quimbel IDE'
  ClientHeight = 640
  ClientWidth = 1000
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu
  OldCreateOrder = False
  Position = poDefault
  KeyPreview = True
  OnCloseQuery = FormCloseQuery
  OnKeyDown = FormKeyDown
  PixelsPerInch = 96
  TextHeight = 13
  object PaletteTabs: TTabControl
    Left = 0
    Top = 0
    Width = 1000
    Height = 62
    Align = alTop
    TabOrder = 1
    OnChange = PaletteTabsChange
    object PalettePanel: TPanel
      Left = 4
      Top = 26
      Width = 992
      Height = 32
      Align = alClient
      BevelOuter = bvNone
      TabOrder = 0
    end
  end
  object InspectorPanel: TPanel
    Left = 0
    Top = 62
    Width = 300
    Height = 578
    Align = alLeft
    BevelOuter = bvNone
    TabOrder = 2
    object ComponentPanel: TPanel
      Left = 0
      Top = 0
      Width = 300
      Height = 23
      Align = alTop
      BevelOuter = bvNone
      TabOrder = 0
      object ComponentBox: TComboBox
        Left = 0
        Top = 1
        Width = 300
        Height = 21
        Style = csDropDownList
        TabOrder = 0
        OnSelect = ComponentBoxSelect
      end
    end
    object InspectorTabs: TTabControl
      Left = 0
      Top = 23
      Width = 300
      Height = 555
      Align = alClient
      TabOrder = 1
      Tabs.Strings = (
        'Properties'
        'Events')
      TabIndex = 0
      OnChange = InspectorTabsChange
      object RowsScrollBar: TScrollBar
        Left = 280
        Top = 26
        Width = 16
        Height = 527
        Align = alRight
        Kind = sbVertical
        TabOrder = 1
        TabStop = False
      end
      object RowsPanel: TPanel
        Left = 4
        Top = 26
        Width = 276
        Height = 527
        Align = alClient
        BevelOuter = bvNone
        Color = clWindow
        TabOrder = 0
      end
    end
  end
  object DesignArea: TScrollBox
    Left = 300
    Top = 62
    Width = 700
    Height = 578
    HorzScrollBar.Tracking = True
    VertScrollBar.Tracking = True
    Align = alClient
    BorderStyle = bsNone
    Color = clAppWorkSpace
    TabOrder = 3
    object DesignSurface: TPanel
      Left = 0
      Top = 0
      Width = 486
      Height = 366
      BevelOuter = bvNone
      ParentColor = True
      TabOrder = 0
    end
  end
  object MainMenu: TMainMenu
    object FileMenu: TMenuItem
      Caption = '&File'
      object NewItem: TMenuItem
        Caption = '&New Form'
        ShortCut = 16462
        OnClick = NewItemClick
      end
      object OpenItem: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = OpenItemClick
      end
      object SaveItem: TMenuItem
        Caption = '&Save'
        ShortCut = 16467
        OnClick = SaveItemClick
      end
      object SaveAsItem: TMenuItem
        Caption = 'Save &As...'
        OnClick = SaveAsItemClick
      end
      object FileSeparator: TMenuItem
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
      object EditSeparator: TMenuItem
        Caption = '-'
      end
      object DeleteItem: TMenuItem
        Caption = '&Delete'
        ShortCut = 46
        OnClick = DeleteItemClick
      end
    end
    object ViewMenu: TMenuItem
      Caption = '&View'
      object ViewTextItem: TMenuItem
        Caption = 'View as &Text'
        OnClick = ViewTextItemClick
      end
    end
    object RunMenu: TMenuItem
      Caption = '&Run'
      object RunItem: TMenuItem
        Caption = '&Run'
        ShortCut = 120
        OnClick = RunItemClick
      end
    end
    object HelpMenu: TMenuItem
      Caption = '&Help'
      object AboutItem: TMenuItem
        Caption = '&About packages...'
        OnClick = AboutItemClick
      end
    end
  end
end
