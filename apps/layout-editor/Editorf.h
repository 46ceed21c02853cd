#pragma once
// The layout editor's main window: a menu bar, a toolbar, the layout editor control, a panel with
// the selected keys' position and size, a preview keyboard that types into an edit box, and a
// status line. Built from its form resource TEDITORFORM; nothing here depends on the widgetset.
//
// The window adds to the layout editor control, through its events and public operations, what a
// designer tool has: a selection of keys (click, Shift-click, a rubber band on the grid; drags,
// arrow keys, align and distribute act on all selected keys), the clipboard (keys as kly JSON),
// and undo and redo of every change back to the start of the layout's session.

#include "runtime/KeyEditing.h"
#include "runtime/Keyboard.h"
#include "runtime/Keyboardlayouteditor.h"

#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/ScrollBox.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quimbel::layouteditor {

class TEditorForm : public vcl::TForm {
    VCL_DECLARE_CLASS(TEditorForm, vcl::TForm)
public:
    // An untitled, empty layout.
    explicit TEditorForm(vcl::TComponent* AOwner);

    // Opens a layout file after checking it; a broken or unreadable file is reported in a message
    // and the open layout stays. False when the file was not opened.
    bool OpenFile(const vcl::AnsiString& FileName);
    // Opens a built-in layout as a new, untitled layout, and switches to its code page unless
    // FollowLayoutCodePage is off.
    void OpenBuiltIn(const vcl::AnsiString& Name);
    // Saves to FileName and makes it the layout's file; a failure is reported in a message.
    bool SaveFile(const vcl::AnsiString& FileName);
    // True when the layout differs from the one last opened or saved.
    bool Modified() const;
    // The file the layout was opened from or saved to; empty for an untitled layout.
    const vcl::AnsiString& FileName() const { return fileName_; }
    // The key Key Properties acts on: the one of the selection last clicked, right-clicked or
    // added; null when nothing is selected.
    TKey* CurrentKey() const { return selection_.empty() ? nullptr : selection_.back(); }
    // The selected keys, in the order they were selected.
    const std::vector<TKey*>& Selection() const { return selection_; }
    // Selects the keys First to Last of the layout (indexes from 0, clipped to the layout).
    void SelectKeys(int First, int Last);

    // The system clipboard's text (UTF-8). The program connects them to the desktop's clipboard;
    // by default the window keeps a clipboard of its own.
    std::function<void(const std::string& Utf8)> SetClipboardText;
    std::function<std::string()> GetClipboardText;

    // Makes Page the active code page for the rest of the session (View > Code Page): the keys
    // are shown in it, and files open in it.
    void ChooseCodePage(int Page);

    // Off when the code page was chosen on the command line: it then stays for every layout.
    bool FollowLayoutCodePage = true;
    // The page a layout file opens in unless the user chose one in this session: the command
    // line's, else the locale's. A built-in layout brings its own page instead.
    int FileCodePage = 0;

    vcl::TPanel* ToolBar = nullptr;
    vcl::TButton* NewKeyBtn = nullptr;
    vcl::TButton* DeleteKeyBtn = nullptr;
    vcl::TButton* PropertiesBtn = nullptr;
    vcl::TButton* ShiftLeftBtn = nullptr;
    vcl::TButton* ShiftRightBtn = nullptr;
    vcl::TButton* ShiftUpBtn = nullptr;
    vcl::TButton* ShiftDownBtn = nullptr;
    vcl::TLabel* DeltaLabel = nullptr;
    vcl::TEdit* DeltaEdit = nullptr;
    vcl::TPanel* KeyPanel = nullptr;
    vcl::TLabel* KeyPanelLabel = nullptr;
    vcl::TLabel* LeftLabel = nullptr;
    vcl::TEdit* LeftEdit = nullptr;
    vcl::TLabel* TopLabel = nullptr;
    vcl::TEdit* TopEdit = nullptr;
    vcl::TLabel* WidthLabel = nullptr;
    vcl::TEdit* WidthEdit = nullptr;
    vcl::TLabel* HeightLabel = nullptr;
    vcl::TEdit* HeightEdit = nullptr;
    vcl::TPanel* StatusPanel = nullptr;
    vcl::TPanel* PreviewPanel = nullptr;
    vcl::TEdit* PreviewEdit = nullptr;
    TKeyboard* PreviewKeyboard = nullptr;
    // The editor scrolls in EditorBox when its keys reach beyond what the window shows.
    vcl::TScrollBox* EditorBox = nullptr;
    TKeyboardLayoutEditor* Editor = nullptr;
    vcl::TMainMenu* MainMenu = nullptr;
    vcl::TMenuItem* FileMenu = nullptr;
    vcl::TMenuItem* NewItem = nullptr;
    vcl::TMenuItem* OpenItem = nullptr;
    vcl::TMenuItem* BuiltInItem = nullptr;
    vcl::TMenuItem* SaveItem = nullptr;
    vcl::TMenuItem* SaveAsItem = nullptr;
    vcl::TMenuItem* QuitItem = nullptr;
    vcl::TMenuItem* EditMenu = nullptr;
    vcl::TMenuItem* UndoItem = nullptr;
    vcl::TMenuItem* RedoItem = nullptr;
    vcl::TMenuItem* CutItem = nullptr;
    vcl::TMenuItem* CopyItem = nullptr;
    vcl::TMenuItem* PasteItem = nullptr;
    vcl::TMenuItem* SelectAllItem = nullptr;
    vcl::TMenuItem* SelectNextItem = nullptr;
    vcl::TMenuItem* SelectPreviousItem = nullptr;
    vcl::TMenuItem* NewKeyItem = nullptr;
    vcl::TMenuItem* DeleteKeyItem = nullptr;
    vcl::TMenuItem* PropertiesItem = nullptr;
    vcl::TMenuItem* ClearAllItem = nullptr;
    vcl::TMenuItem* KeyFontItem = nullptr;
    vcl::TMenuItem* ShiftLeftItem = nullptr;
    vcl::TMenuItem* ShiftRightItem = nullptr;
    vcl::TMenuItem* ShiftUpItem = nullptr;
    vcl::TMenuItem* ShiftDownItem = nullptr;
    vcl::TMenuItem* MoveItem = nullptr;
    vcl::TMenuItem* MoveLeftItem = nullptr;
    vcl::TMenuItem* MoveRightItem = nullptr;
    vcl::TMenuItem* MoveUpItem = nullptr;
    vcl::TMenuItem* MoveDownItem = nullptr;
    vcl::TMenuItem* MoveLeftFarItem = nullptr;
    vcl::TMenuItem* MoveRightFarItem = nullptr;
    vcl::TMenuItem* MoveUpFarItem = nullptr;
    vcl::TMenuItem* MoveDownFarItem = nullptr;
    vcl::TMenuItem* AlignItem = nullptr;
    vcl::TMenuItem* AlignLeftItem = nullptr;
    vcl::TMenuItem* AlignTopItem = nullptr;
    vcl::TMenuItem* AlignRightItem = nullptr;
    vcl::TMenuItem* AlignBottomItem = nullptr;
    vcl::TMenuItem* DistributeAcrossItem = nullptr;
    vcl::TMenuItem* DistributeDownItem = nullptr;
    vcl::TMenuItem* ViewMenu = nullptr;
    vcl::TMenuItem* GridColorItem = nullptr;
    vcl::TMenuItem* GridSilverItem = nullptr;
    vcl::TMenuItem* GridGrayItem = nullptr;
    vcl::TMenuItem* GridBlueItem = nullptr;
    vcl::TMenuItem* GridBlackItem = nullptr;
    vcl::TMenuItem* LimitItem = nullptr;
    vcl::TMenuItem* PreviewItem = nullptr;
    vcl::TMenuItem* CodePageItem = nullptr;
    vcl::TPopupMenu* KeyMenu = nullptr;
    vcl::TMenuItem* KeyDeleteItem = nullptr;
    vcl::TMenuItem* KeyPropertiesItem = nullptr;
    vcl::TOpenDialog* OpenDialog = nullptr;
    vcl::TSaveDialog* SaveDialog = nullptr;
    vcl::TFontDialog* FontDialog = nullptr;

    // Handlers bound by name from the form resource.
    void NewItemClick(vcl::TObject* Sender);
    void OpenItemClick(vcl::TObject* Sender);
    void BuiltInItemClick(vcl::TObject* Sender);
    void SaveItemClick(vcl::TObject* Sender);
    void SaveAsItemClick(vcl::TObject* Sender);
    void QuitItemClick(vcl::TObject* Sender);
    void UndoItemClick(vcl::TObject* Sender);
    void RedoItemClick(vcl::TObject* Sender);
    void CutItemClick(vcl::TObject* Sender);
    void CopyItemClick(vcl::TObject* Sender);
    void PasteItemClick(vcl::TObject* Sender);
    void SelectAllItemClick(vcl::TObject* Sender);
    void SelectNextItemClick(vcl::TObject* Sender);
    void MoveItemClick(vcl::TObject* Sender);
    void AlignItemClick(vcl::TObject* Sender);
    void KeyFieldExit(vcl::TObject* Sender);
    void KeyFieldKeyDown(vcl::TObject* Sender, vcl::Word& Key, vcl::TShiftState Shift);
    void FormResize(vcl::TObject* Sender);
    void NewKeyItemClick(vcl::TObject* Sender);
    void DeleteKeyItemClick(vcl::TObject* Sender);
    void PropertiesItemClick(vcl::TObject* Sender);
    void ClearAllItemClick(vcl::TObject* Sender);
    void KeyFontItemClick(vcl::TObject* Sender);
    void ShiftItemClick(vcl::TObject* Sender);
    void GridColorItemClick(vcl::TObject* Sender);
    void LimitItemClick(vcl::TObject* Sender);
    void PreviewItemClick(vcl::TObject* Sender);
    void CodePageItemClick(vcl::TObject* Sender);
    void EditorKeyClicked(TKey* Key);
    void EditorKeyRightClicked(TKey* Key);
    void FormCloseQuery(vcl::TObject* Sender, bool& CanClose);

private:
    // Asks Save / Don't Save / Cancel when there are unsaved changes; false when the user
    // cancelled (or the save failed), so that the current work stays.
    bool confirmDiscard();
    // Save to the layout's file, or ask for one; false when cancelled or failed.
    bool save();
    bool saveAs();
    // Starts work on the layout the editor holds now, as opened from FileName (empty: untitled)
    // and shown in the title as Title.
    void startLayout(const vcl::AnsiString& FileName, const vcl::AnsiString& Title);
    // Brings the title, the preview, the status line and the commands up to date with the layout.
    void layoutChanged();
    void showStatus();
    void showError(const vcl::AnsiString& Message);
    // Activates Page and shows the keys, the preview and the status line in it.
    void useCodePage(int Page);
    std::vector<uint8_t> layoutBytes() const;
    // Keeps the layout as it is now as one step named What for Undo, and shows it.
    void changed(const vcl::AnsiString& What);
    // Puts the layout back to Bytes (an undone or redone step), keeping the selection by place
    // in the layout.
    void restore(const TLayoutBytes& Bytes);
    // Shows the selection on the key buttons and in the key panel.
    void showSelection();
    void select(TKey* Key, bool Add);
    // Moves every selected key by DX, DY layout units; false when that would take one out of
    // the design area (with Limit Design Area) or beyond the positions a layout holds.
    bool moveSelection(int DX, int DY);
    // The hooks on the editor and its buttons for selecting and dragging the selection.
    void hookInput();
    void bandDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    void bandMove(int X, int Y);
    void bandUp();
    void keyDown(TKeyControl* Button, vcl::TShiftState Shift);
    // A value typed into the key panel counts before the selection changes.
    void commitField();
    // Moves the focus out of a text field to the toolbar, after a click on the grid.
    void leaveTextField();
    // Places the toolbar's buttons in rows and shares the height between the editor and the
    // preview, so that the window works at every size.
    void arrange();
    // Makes the editor as large as the box shows, or as its keys reach when that is larger.
    void fitEditor();
    // The value of the "by" field; reports an empty or invalid field and returns 0.
    int shiftAmount();
    bool typesNothing(const TKey* Key) const;

    vcl::AnsiString fileName_;
    vcl::AnsiString title_;
    std::vector<uint8_t> saved_;
    std::vector<uint8_t> shown_;
    std::vector<TKey*> selection_;
    TKeyUndoStack undo_;
    std::string clipboard_;
    // A rubber band being drawn on the grid, from its corner where the button went down.
    vcl::TShape* band_ = nullptr;
    vcl::TPoint bandFrom_;
    // Where the selected keys were when a drag of one of them began.
    std::vector<vcl::TPoint> dragFrom_;
    TKey* dragKey_ = nullptr;
    // The frames that mark the selected keys, made as needed and hidden when not.
    std::vector<vcl::TShape*> frames_;
    // Set by the press on a key for the click that follows it.
    bool clickOpens_ = false;
    bool shiftClick_ = false;
    vcl::TPoint pointer_{-1, -1};
    vcl::AnsiString notice_;
    int chosenPage_ = 0; // chosen in View > Code Page during this session; 0: none
};

} // namespace quimbel::layouteditor
