#include "vcl/Widgetset.h"

#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/VCLConsts.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

namespace vcl {

namespace {

TWidgetset g_headless;
TWidgetset* g_widgetset = &g_headless;
TModalResponder g_responder;
int g_beeps = 0;
int g_inputDepth = 0;

struct TQueuedCall {
    const void* Owner;
    std::function<void()> Call;
};
std::deque<TQueuedCall> g_queue;

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

TWidgetset* Widgetset() {
    return g_widgetset;
}

TWidgetset* InstallWidgetset(TWidgetset* W) {
    TWidgetset* previous = g_widgetset;
    g_widgetset = W ? W : &g_headless;
    return previous;
}

void Beep() {
    ++g_beeps;
    Widgetset()->Beep();
}

int BeepCount() {
    return g_beeps;
}

void QueueCall(const void* Owner, std::function<void()> Call) {
    g_queue.push_back({Owner, std::move(Call)});
}

void CancelQueuedCalls(const void* Owner) {
    g_queue.erase(std::remove_if(g_queue.begin(), g_queue.end(),
                                 [Owner](const TQueuedCall& c) { return c.Owner == Owner; }),
                  g_queue.end());
}

void ProcessQueuedCalls() {
    while (!g_queue.empty()) {
        std::function<void()> call = std::move(g_queue.front().Call);
        g_queue.pop_front();
        call();
    }
}

bool InInputEvent() {
    return g_inputDepth > 0;
}

TInputEventScope::TInputEventScope() {
    ++g_inputDepth;
}
TInputEventScope::~TInputEventScope() {
    --g_inputDepth;
}

void TInputEventScope::Finish() {
    if (g_inputDepth != 1) return;
    // Queued calls run as if after the event, outside of it.
    --g_inputDepth;
    try {
        ProcessQueuedCalls();
    } catch (...) {
        ++g_inputDepth;
        throw;
    }
    ++g_inputDepth;
}

// --- the headless widgetset ---------------------------------------------------------------------

TWidgetset::~TWidgetset() = default;

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

} // namespace vcl
