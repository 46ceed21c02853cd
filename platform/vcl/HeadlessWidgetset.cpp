#include "vcl/HeadlessWidgetset.h"

#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/VCLConsts.h"

#include <cstdlib>
#include <sys/stat.h>

namespace vcl {

TWidgetset* HeadlessWidgetset() {
    static TWidgetset headless;
    return &headless;
}

std::unique_ptr<TWinControlPeer> TWidgetset::CreatePeer(TWinControl* Control) {
    (void)Control;
    return nullptr;
}

void TWidgetset::WaitModal(TCustomForm* Form) {
    TModalRequest request;
    request.Kind = mkForm;
    request.Form = Form;
    request.Round = Form->ModalRounds();
    RespondModal(request);
    ProcessQueuedCalls();
}

TModalResult TWidgetset::MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, int HelpCtx) {
    TModalRequest request;
    request.Kind = mkMessage;
    request.Message = Msg;
    request.DlgType = DlgType;
    request.Buttons = Buttons;
    request.HelpCtx = HelpCtx;
    RespondModal(request);
    if (request.Result == mrNone)
        throw EInvalidOperation(FmtLoadStr(vclconsts::SModalNotAnswered, {request.Describe()}));
    for (int b = mbYes; b <= mbHelp; ++b) {
        auto button = static_cast<TMsgDlgBtn>(b);
        if (Buttons.Contains(button) && ModalResultOf(button) == request.Result)
            return request.Result;
    }
    throw EInvalidOperation(
        FmtLoadStr(vclconsts::SModalBadAnswer, {request.Result, request.Describe()}));
}

TMenuItem* TWidgetset::TrackPopupMenu(TPopupMenu* Menu, int X, int Y) {
    TModalRequest request;
    request.Kind = mkPopupMenu;
    request.Menu = Menu;
    request.Pos = {X, Y};
    RespondModal(request);
    return request.ChosenItem;
}

TColor TWidgetset::GetSysColor(int Index) {
    return DefaultSysColor(Index);
}

TSize TWidgetset::TextExtent(const TFont* Font, const AnsiString& Text) {
    // Roughly the metrics of the classic 8-point sans-serif face: characters about half as wide
    // as the font is high, lines two pixels higher than the characters.
    int h = Font ? std::abs(Font->GetHeight()) : 11;
    if (Font && Font->GetHeight() > 0) h = Font->GetHeight() * 3 / 4;
    int avg = (h + 1) / 2;
    int width = 0;
    for (char ch : Text) {
        if (ch == '&') continue;
        width += (ch == 'i' || ch == 'l' || ch == '.' || ch == ',' || ch == ' ' || ch == '\'')
                     ? avg / 2 + 1
                     : avg;
    }
    return {width, h + 2};
}

// --- dialogs -------------------------------------------------------------------------------------

namespace {

bool directoryExists(const AnsiString& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

AnsiString extractDir(const AnsiString& name) {
    size_t slash = name.find_last_of('/');
    if (slash == AnsiString::npos) return ".";
    if (slash == 0) return "/";
    return name.substr(0, slash);
}

bool hasExtension(const AnsiString& name) {
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    return dot != AnsiString::npos && (slash == AnsiString::npos || dot > slash);
}

} // namespace

bool TWidgetset::ExecuteFileDialog(TOpenDialog* Dialog, bool Save) {
    const int maxRounds = 100;
    for (int round = 0;; ++round) {
        TModalRequest request;
        request.Kind = Save ? mkSaveDialog : mkOpenDialog;
        request.FileDialog = Dialog;
        request.Round = round;
        if (round >= maxRounds)
            throw EInvalidOperation(
                FmtLoadStr(vclconsts::SModalRoundsExceeded, {request.Describe(), round}));
        RespondModal(request);
        if (request.Result == mrNone)
            throw EInvalidOperation(FmtLoadStr(vclconsts::SModalNotAnswered, {request.Describe()}));
        if (request.Result != mrOk) return false;
        AnsiString name = Dialog->GetFileName();
        if (name.empty())
            throw EInvalidOperation(FmtLoadStr(vclconsts::SModalNotAnswered, {request.Describe()}));
        if (!Dialog->GetDefaultExt().empty() && !hasExtension(name)) {
            name += "." + Dialog->GetDefaultExt();
            Dialog->SetFileName(name);
        }
        TOpenOptions options = Dialog->GetOptions();
        if (options.Contains(ofPathMustExist) && !directoryExists(extractDir(name)))
            throw EInvalidOperation(FmtLoadStr(vclconsts::SPathMustExist, {name}));
        if (options.Contains(ofFileMustExist) && !FileExists(name))
            throw EInvalidOperation(FmtLoadStr(vclconsts::SFileMustExist, {name}));
        if (Save && options.Contains(ofOverwritePrompt) && FileExists(name)) {
            // The user is asked; No returns to the dialog.
            if (MessageDlg(FmtLoadStr(vclconsts::SOverwritePrompt, {name}), mtWarning,
                           {mbYes, mbNo}, 0) != mrYes)
                continue;
        }
        Dialog->GetFiles()->Clear();
        Dialog->GetFiles()->Add(name);
        return true;
    }
}

bool TWidgetset::ExecuteFontDialog(TFontDialog* Dialog) {
    TModalRequest request;
    request.Kind = mkFontDialog;
    request.FontDialog = Dialog;
    RespondModal(request);
    if (request.Result == mrNone)
        throw EInvalidOperation(FmtLoadStr(vclconsts::SModalNotAnswered, {request.Describe()}));
    return request.Result == mrOk;
}

// --- forms ---------------------------------------------------------------------------------------

TRect TWidgetset::FormFrame(const TCustomForm* Form) {
    switch (Form->GetBorderStyle()) {
    case bsNone:
        return TRect();
    case bsToolWindow:
    case bsSizeToolWin:
        return TRect(4, 19, 4, 4);
    default:
        return TRect(4, 23, 4, 4);
    }
}

} // namespace vcl
