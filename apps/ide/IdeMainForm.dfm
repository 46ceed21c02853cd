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
  KeyPreview = True
  OldCreateOrder = False
  Position = poDefault
  OnCloseQuery = FormCloseQuery
  OnKeyDown = FormKeyDown
  PixelsPerInch = 96
  TextHeight = 13
  object ToolBarPanel: TPanel
    Left = 0
    Top = 0
    Width = 1000
    Height = 31
    Align = alTop
    BevelOuter = bvNone
    TabOrder = 0
    object NewButton: TButton
      Left = 4
      Top = 3
      Width = 75
      Height = 25
      Caption = 'New Form'
      TabOrder = 0
      OnClick = NewButtonClick
    end
    object OpenButton: TButton
      Left = 82
      Top = 3
      Width = 75
      Height = 25
      Caption = 'Open...'
      TabOrder = 1
      OnClick = OpenButtonClick
    end
    object SaveButton: TButton
      Left = 160
      Top = 3
      Width = 75
      Height = 25
      Caption = 'Save'
      TabOrder = 2
      OnClick = SaveButtonClick
    end
    object SaveAsButton: TButton
      Left = 238
      Top = 3
      Width = 75
      Height = 25
      Caption = 'Save As...'
      TabOrder = 3
      OnClick = SaveAsButtonClick
    end
    object ViewTextButton: TButton
      Left = 324
      Top = 3
      Width = 81
      Height = 25
      Caption = 'View as Text'
      TabOrder = 4
      OnClick = ViewTextButtonClick
    end
    object DeleteButton: TButton
      Left = 408
      Top = 3
      Width = 75
      Height = 25
      Caption = 'Delete'
      TabOrder = 5
      OnClick = DeleteButtonClick
    end
    object RunButton: TButton
      Left = 494
      Top = 3
      Width = 75
      Height = 25
      Caption = 'Run (F9)'
      TabOrder = 6
      OnClick = RunButtonClick
    end
    object AboutButton: TButton
      Left = 580
      Top = 3
      Width = 105
      Height = 25
      Caption = 'About packages...'
      TabOrder = 7
      OnClick = AboutButtonClick
    end
  end
  object PaletteTabs: TTabControl
    Left = 0
    Top = 31
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
    Top = 93
    Width = 300
    Height = 547
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
      Height = 524
      Align = alClient
      TabOrder = 1
      Tabs.Strings = (
        'Properties'
        'Events')
      TabIndex = 0
      OnChange = InspectorTabsChange
      object RowsPanel: TPanel
        Left = 4
        Top = 26
        Width = 292
        Height = 496
        Align = alClient
        BevelOuter = bvNone
        Color = clWindow
        TabOrder = 0
      end
    end
  end
  object DesignArea: TPanel
    Left = 300
    Top = 93
    Width = 700
    Height = 547
    Align = alClient
    BevelOuter = bvLowered
    Color = clAppWorkSpace
    TabOrder = 3
  end
end
