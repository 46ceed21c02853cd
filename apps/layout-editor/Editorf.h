#pragma once
// The layout editor's main window: a menu bar, a toolbar, the layout editor control, a preview
// keyboard that types into an edit box, and a status line. Built from its form resource
// TEDITORFORM; nothing here depends on the widgetset.

#include "runtime/Keyboard.h"
#include "runtime/Keyboardlayouteditor.h"

#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <cstdint>
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
    // The key the Edit menu's Delete Key and Key Properties act on: the one last clicked,
    // right-clicked or added; null when there is none.
    TKey* CurrentKey() const { return currentKey_; }

    // Makes Page the active code page for the rest of the session (View > Code Page): the keys
    // are shown in it, and files open in it.
    void ChooseCodePage(int Page);

    // Off when the code page was chosen on the command line: it then stays for every layout.
    bool FollowLayoutCodePage = true;
    // The page a layout file opens in unless the user chose one in this session: the command
    // line's, else the locale's. A built-in layout brings its own page instead.
    int FileCodePage = 0;

    vcl::TPanel* ToolBar = nullptr;
    vcl::TSpeedButton* NewKeyBtn = nullptr;
    vcl::TSpeedButton* DeleteKeyBtn = nullptr;
    vcl::TSpeedButton* PropertiesBtn = nullptr;
    vcl::TSpeedButton* ShiftLeftBtn = nullptr;
    vcl::TSpeedButton* ShiftRightBtn = nullptr;
    vcl::TSpeedButton* ShiftUpBtn = nullptr;
    vcl::TSpeedButton* ShiftDownBtn = nullptr;
    vcl::TLabel* DeltaLabel = nullptr;
    vcl::TEdit* DeltaEdit = nullptr;
    vcl::TPanel* StatusPanel = nullptr;
    vcl::TPanel* PreviewPanel = nullptr;
    vcl::TEdit* PreviewEdit = nullptr;
    TKeyboard* PreviewKeyboard = nullptr;
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
    vcl::TMenuItem* NewKeyItem = nullptr;
    vcl::TMenuItem* DeleteKeyItem = nullptr;
    vcl::TMenuItem* PropertiesItem = nullptr;
    vcl::TMenuItem* ClearAllItem = nullptr;
    vcl::TMenuItem* KeyFontItem = nullptr;
    vcl::TMenuItem* ShiftLeftItem = nullptr;
    vcl::TMenuItem* ShiftRightItem = nullptr;
    vcl::TMenuItem* ShiftUpItem = nullptr;
    vcl::TMenuItem* ShiftDownItem = nullptr;
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
    // Reports pointer movements over the key buttons and grid lines as well as over the editor.
    void followPointer();
    std::vector<uint8_t> layoutBytes() const;

    vcl::AnsiString fileName_;
    vcl::AnsiString title_;
    std::vector<uint8_t> saved_;
    std::vector<uint8_t> shown_;
    TKey* currentKey_ = nullptr;
    vcl::TPoint pointer_{-1, -1};
    vcl::AnsiString notice_;
    int chosenPage_ = 0; // chosen in View > Code Page during this session; 0: none
};

} // namespace quimbel::layouteditor
