#pragma once
// Modal results, message box kinds and the modal responder.
//
// Headless, nobody is there to answer a modal form, a dialog, a message box or a popup menu. A
// test installs a responder instead: a function that plays the user for each modal request the
// headless widgetset makes. Without one, a modal request raises EInvalidOperation rather than
// waiting forever.

#include "rtl/Sets.h"
#include "rtl/SysUtils.h"
#include "vcl/Types.h"

#include <functional>

namespace vcl {

class TCustomForm;
class TOpenDialog;
class TFontDialog;
class TPopupMenu;
class TMenuItem;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = Set<TMsgDlgBtn>;
// The modal result of each message button (mbYes -> mrYes ...; mbHelp -> mrNone).
TModalResult ModalResultOf(TMsgDlgBtn Button);

// One modal request that the headless widgetset hands to the responder.
enum TModalKind { mkForm, mkOpenDialog, mkSaveDialog, mkFontDialog, mkMessage, mkPopupMenu };

struct TModalRequest {
    TModalKind Kind = mkForm;
    // How many times this request was answered before without ending it (0 the first time).
    int Round = 0;

    // mkForm: the form shown modally. The responder changes its controls, clicks its buttons
    // (TButton::Click), presses keys (TWinControl::InputKeyDown(VK_RETURN)), sets ModalResult or
    // closes it (TCustomForm::Close, the close box); the form's modal loop ends when ModalResult
    // is not mrNone once the responder returns.
    TCustomForm* Form = nullptr;
    // mkOpenDialog, mkSaveDialog: the dialog (a TSaveDialog is a TOpenDialog). The responder sets
    // its FileName and answers mrOk, or answers mrCancel.
    TOpenDialog* FileDialog = nullptr;
    // mkFontDialog: the dialog. The responder changes its Font and answers mrOk, or mrCancel.
    TFontDialog* FontDialog = nullptr;
    // mkMessage: MessageDlg and the prompts of dialogs. The responder answers the modal result of
    // one of Buttons (mrYes, mrNo ...).
    AnsiString Message;
    TMsgDlgType DlgType = mtInformation;
    TMsgDlgButtons Buttons;
    int HelpCtx = 0;
    // mkPopupMenu: the menu popped up at Pos (screen); its PopupComponent is set. The responder
    // chooses an item (clicked after the popup returns, as when a user picks it) or none.
    TPopupMenu* Menu = nullptr;
    TPoint Pos;

    // The answer.
    TModalResult Result = mrNone;
    TMenuItem* ChosenItem = nullptr;

    void Answer(TModalResult R) { Result = R; }
    void Accept() { Result = mrOk; }
    void Cancel() { Result = mrCancel; }
    void Choose(TMenuItem* Item) { ChosenItem = Item; }
    // "form TKeyPropertiesForm", "message 'Proceed?'" ... for error messages.
    AnsiString Describe() const;
};

using TModalResponder = std::function<void(TModalRequest& Request)>;

// Installs the responder that plays the user for headless modal UI; returns the previous one.
TModalResponder SetModalResponder(TModalResponder Responder);
bool ModalResponderInstalled();
// Hands a request to the responder; raises EInvalidOperation when none is installed.
void RespondModal(TModalRequest& Request);

// Installs a responder for the lifetime of the scope and restores the previous one after it.
class TModalResponderScope {
public:
    explicit TModalResponderScope(TModalResponder Responder)
        : previous_(SetModalResponder(std::move(Responder))) {}
    ~TModalResponderScope() { SetModalResponder(std::move(previous_)); }
    TModalResponderScope(const TModalResponderScope&) = delete;
    TModalResponderScope& operator=(const TModalResponderScope&) = delete;

private:
    TModalResponder previous_;
};

} // namespace vcl
