#include "vcl/ModalResponder.h"

#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/VCLConsts.h"

namespace vcl {

namespace {
TModalResponder g_responder;
} // namespace

TModalResult ModalResultOf(TMsgDlgBtn Button) {
    switch (Button) {
    case mbYes:
        return mrYes;
    case mbNo:
        return mrNo;
    case mbOK:
        return mrOk;
    case mbCancel:
        return mrCancel;
    case mbAbort:
        return mrAbort;
    case mbRetry:
        return mrRetry;
    case mbIgnore:
        return mrIgnore;
    case mbAll:
        return mrAll;
    case mbNoToAll:
        return mrNoToAll;
    case mbYesToAll:
        return mrYesToAll;
    default:
        return mrNone;
    }
}

AnsiString TModalRequest::Describe() const {
    switch (Kind) {
    case mkForm:
        return "form " + (Form ? Form->ClassName() : AnsiString("?"));
    case mkOpenDialog:
        return "open dialog '" + (FileDialog ? FileDialog->GetTitle() : AnsiString()) + "'";
    case mkSaveDialog:
        return "save dialog '" + (FileDialog ? FileDialog->GetTitle() : AnsiString()) + "'";
    case mkFontDialog:
        return "font dialog";
    case mkMessage:
        return "message '" + Message + "'";
    case mkPopupMenu:
        return "popup menu " + (Menu ? Menu->GetName() : AnsiString());
    }
    return AnsiString();
}

TModalResponder SetModalResponder(TModalResponder Responder) {
    TModalResponder previous = std::move(g_responder);
    g_responder = std::move(Responder);
    return previous;
}

bool ModalResponderInstalled() {
    return static_cast<bool>(g_responder);
}

void RespondModal(TModalRequest& Request) {
    if (!g_responder)
        throw EInvalidOperation(FmtLoadStr(vclconsts::SNoResponder, {Request.Describe()}));
    // A copy, so that a responder may replace itself while it runs.
    TModalResponder responder = g_responder;
    responder(Request);
}

} // namespace vcl
