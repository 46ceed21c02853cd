#pragma once
// Unit Layoutf: the layout designer window of the IDE. It edits a keyboard's key collection in
// place on a white design surface (LayoutPanel): keys are added, dragged, shifted, deleted and
// edited in the key properties dialog, and layouts are loaded and saved through file dialogs.
// Every change reaches the caller's collection at once; closing the window in any way keeps them.
//
// The grid, the key buttons and the press, drag and click logic are those of every design
// surface (TKeyDesignSurface). This window differs from the layout editor control in what it
// sets on that surface and in its own user interface:
//   - the grid is always silver, and dragged keys are never kept inside the panel;
//   - new keys take the window's key font, which starts as FontDialog's font;
//   - a click on a key opens the key properties dialog, and the right button opens PopupMenu;
//   - the shift buttons move all keys by 4 layout units, left and up only while no key would
//     leave the panel at the left or top, right and down always;
//   - Clear All and Set Key Font ask for confirmation first.
// When the IDE's environment asks for it (designide::EnvironmentOptions), the window also has a
// status line with the active code page and a list to choose it, and files open in the page of
// the session.
//
// With designide::EnvironmentOptions().SafeEditingInDesigners (off by default) the window guards the work done in
// it: an Edit menu undoes and redoes every change (Ctrl+Z, Ctrl+Y) back to the layout it opened
// with; a Cancel button beside Close (also Escape and the close box) puts that layout back; Load
// Layout asks before it replaces keys; Clear All asks with No as the default button and has its
// own hotkey (Alt+A); a new key goes to the first free place and not always to the top left
// corner; the key properties dialog suggests captions and fills empty values from them
// (EditKeyPropertiesAssisted); the toolbar wraps, so that Close and Cancel stay within reach in a
// small window.

#include "runtime/KeyEditing.h"
#include "runtime/Keydesignsurface.h"
#include "vcl/ActnList.h"
#include "vcl/Buttons.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <memory>

namespace quimbel {

class TLayoutForm : public vcl::TForm {
    VCL_DECLARE_CLASS(TLayoutForm, vcl::TForm)
public:
    // Builds the window from its resource and shows one button per key of Collection (not owned),
    // taking the keys over from whatever buttons showed them before.
    TLayoutForm(vcl::TComponent* Owner, TKeyCollection* Collection);
    ~TLayoutForm() override;

    vcl::TPanel* LayoutPanel = nullptr;
    vcl::TActionList* ActionList = nullptr;
    vcl::TAction* NewKeyAction = nullptr;
    vcl::TPanel* TopPanel = nullptr;
    vcl::TButton* NewKeyBtn = nullptr;
    vcl::TPopupMenu* PopupMenu = nullptr;
    vcl::TAction* DeleteKeyAction = nullptr;
    vcl::TAction* PropertiesAction = nullptr;
    vcl::TMenuItem* DeleteKey1 = nullptr;
    vcl::TMenuItem* Properties1 = nullptr;
    vcl::TButton* SaveLayoutBtn = nullptr;
    vcl::TButton* LoadLayoutBtn = nullptr;
    vcl::TAction* SaveLayoutAction = nullptr;
    vcl::TAction* LoadLayoutAction = nullptr;
    vcl::TSaveDialog* SaveDialog = nullptr;
    vcl::TOpenDialog* OpenDialog = nullptr;
    vcl::TPanel* RightPanel = nullptr;
    vcl::TButton* CloseBtn = nullptr;
    vcl::TButton* ClearBtn = nullptr;
    vcl::TAction* ClearAllBtn = nullptr; // the Clear All action, shown by ClearBtn
    vcl::TAction* ShiftUpAction = nullptr;
    vcl::TAction* ShiftDownAction = nullptr;
    vcl::TAction* ShiftLeftAction = nullptr;
    vcl::TAction* ShiftRightAction = nullptr;
    vcl::TSpeedButton* ShiftRightBtn = nullptr;
    vcl::TSpeedButton* ShiftLeftBtn = nullptr;
    vcl::TSpeedButton* ShiftUpBtn = nullptr;
    vcl::TSpeedButton* ShiftDownBtn = nullptr;
    vcl::TAction* SetFontAction = nullptr;
    vcl::TButton* KeyFontBtn = nullptr;
    vcl::TFontDialog* FontDialog = nullptr;
    // The code page line; made only when the environment asks for it, else null.
    vcl::TPanel* CodePagePanel = nullptr;
    vcl::TComboBox* CodePageCombo = nullptr;
    // Made only with SafeEditing, else null.
    vcl::TButton* CancelBtn = nullptr;
    vcl::TMainMenu* EditMenuBar = nullptr;
    vcl::TMenuItem* UndoItem = nullptr;
    vcl::TMenuItem* RedoItem = nullptr;

    void NewKeyActionExecute(vcl::TObject* Sender);
    void DeleteKeyActionExecute(vcl::TObject* Sender);
    void PropertiesActionExecute(vcl::TObject* Sender);
    void SaveLayoutActionExecute(vcl::TObject* Sender);
    void LoadLayoutActionExecute(vcl::TObject* Sender);
    void ClearAllBtnExecute(vcl::TObject* Sender);
    void ShiftUpActionExecute(vcl::TObject* Sender);
    void ShiftDownActionExecute(vcl::TObject* Sender);
    void ShiftLeftActionExecute(vcl::TObject* Sender);
    void ShiftRightActionExecute(vcl::TObject* Sender);
    void SetFontActionExecute(vcl::TObject* Sender);
    void FormDestroy(vcl::TObject* Sender);

    // Opens the key properties dialog for a key button: Sender is the button itself (a click on
    // it) or an action executed from PopupMenu (the button the menu popped up on).
    void ShowPropertiesForm(vcl::TObject* Sender);

    // The design surface on LayoutPanel: grid, key buttons and pointer state.
    TKeyDesignSurface* Surface() const { return FSurface.get(); }
    // The font of new keys and of Set Key Font.
    vcl::TFont* KeyFont() const { return FKeyFont.get(); }

    // SafeEditing: whether the window was closed with Cancel (Escape, the close box), which put
    // the layout back as it was when the window opened.
    bool Cancelled() const { return FCancelled; }

private:
    void createCodePageLine();
    void guardEditing();
    // Keeps the layout as it is now as a step named What for Undo, and updates the Edit menu.
    void recordStep(const vcl::AnsiString& What);
    void restoreLayout(const TLayoutBytes& Bytes);
    // Key buttons made since the last call report the end of a drag as a step.
    void hookKeyButtons();
    void arrangeTopPanel();
    // Activates Page and shows the keys and the status line in it.
    void useCodePage(int Page);
    // The key button that Sender leads to (see ShowPropertiesForm), or null when it is gone.
    TKeyControl* keyButtonOf(vcl::TObject* Sender) const;

    TKeyCollection* const FCollection;
    std::unique_ptr<TKeyDesignSurface> FSurface;
    std::unique_ptr<vcl::TFont> FKeyFont;
    bool FSafe = false;
    bool FCancelled = false;
    TLayoutBytes FOriginal;
    TKeyUndoStack FUndo;
};

} // namespace quimbel
