#pragma once
// The widgetset interface: what turns the model into real windows.
//
// The model never needs a widgetset. Without one (the default, "headless") no control has a
// peer, nothing is drawn, and modal UI (ShowModal, the dialogs' Execute, MessageDlg, popup
// menus) is answered by the modal responder that a test installs (ModalResponder.h); a modal
// request without a responder raises EInvalidOperation instead of waiting for a user who is not
// there.
//
// A widgetset (the Qt one in platform/qt) derives from TWidgetset, overrides what it does
// natively and is installed once at start-up with InstallWidgetset. It creates one peer per
// windowed control that is shown (TWinControlPeer); the model tells the peer about every change
// through the peer's virtual methods, whose base versions do nothing. Graphic controls have no
// peer: their parent's peer paints them (InvalidateControl) and feeds pointer input into the model
// through TWinControl::InputMouseDown/InputMouseMove/InputMouseUp, the same entry points tests use.

#include "vcl/Graphics.h"
#include "vcl/Messages.h"
#include "vcl/ModalResponder.h"
// Not part of the contract; included so that the units queueing calls find them here, as they
// always have.
#include "vcl/DeferredCalls.h"

#include <functional>
#include <memory>

namespace vcl {

class TControl;
class TWinControl;
class TCustomForm;
class TOpenDialog;
class TFontDialog;
class TPopupMenu;
class TMenuItem;

// What changed in a windowed control beyond the common properties; the peer re-reads the model.
enum TPeerChange {
    pcItems,         // list items (combo box, radio group)
    pcItemIndex,     // selected item
    pcAppearance,    // bevels, borders, styles, columns, alignment, glyphs
    pcEditOptions,   // read-only, maximum length, password character, character case
    pcButtonOptions, // default and cancel buttons
    pcFormOptions,   // border style and icons, position, window state
    pcSelection,     // caret and selection of an edit
    pcMenu,          // a form's menu bar: assigned, removed or its items changed
    pcScroll         // a scroll bar's kind, range, page and position
};

// The native side of one windowed control. Created by the widgetset when the control is shown,
// owned by the control, destroyed with it or when it leaves its parent.
class TWinControlPeer {
public:
    explicit TWinControlPeer(TWinControl* Control) : control_(Control) {}
    TWinControlPeer(const TWinControlPeer&) = delete;
    TWinControlPeer& operator=(const TWinControlPeer&) = delete;
    virtual ~TWinControlPeer() = default;
    TWinControl* Control() const { return control_; }

    virtual void BoundsChanged() {}
    // The control was shown or hidden; told as well once the peers of a new peer's windowed
    // children are made, so that a peer may keep its native window hidden until it is filled.
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    // The order of the children changed (BringToFront, SendToBack, a child added or removed).
    virtual void ZOrderChanged() {}
    virtual void Changed(TPeerChange What) { (void)What; }
    // Repaint the control and its graphic children.
    virtual void Invalidate() {}
    // Repaint one graphic child (its state, caption, font, bounds or visibility changed).
    virtual void InvalidateControl(TControl* Child) { (void)Child; }
    // A graphic child leaves (it is freed or reparented); forget every reference to it.
    virtual void ControlRemoved(TControl* Child) { (void)Child; }
    virtual void SetFocus() {}
    // Window messages (below CM_BASE) the model does not handle itself, WM_CHAR and WM_KEYDOWN
    // among them: the peer turns them into native input.
    virtual void DefaultHandler(TMessage& Message) { (void)Message; }

private:
    TWinControl* control_;
};

// The widgetset. Its own methods are the headless one's (HeadlessWidgetset.h).
class TWidgetset {
public:
    TWidgetset() = default;
    TWidgetset(const TWidgetset&) = delete;
    TWidgetset& operator=(const TWidgetset&) = delete;
    virtual ~TWidgetset();
    virtual const char* Name() const { return "headless"; }
    virtual bool IsHeadless() const { return true; }

    // A peer for a windowed control that is being shown, or null (headless: always null).
    virtual std::unique_ptr<TWinControlPeer> CreatePeer(TWinControl* Control);

    // Lets the user work with a form shown modally until its ModalResult is set (or the
    // application terminates). Headless: the responder's turn (mkForm).
    virtual void WaitModal(TCustomForm* Form);
    // The model set a form's ModalResult: a native modal loop may end now.
    virtual void ModalResultChanged(TCustomForm* Form) { (void)Form; }
    // Runs a file dialog; true when the user confirmed a file name, which is then in the
    // dialog's FileName. Headless: the responder (mkOpenDialog, mkSaveDialog), then the checks
    // of the dialog's options (DefaultExt, ofFileMustExist, ofPathMustExist, ofOverwritePrompt).
    virtual bool ExecuteFileDialog(TOpenDialog* Dialog, bool Save);
    // Runs a font dialog; true when confirmed, with the choice in the dialog's Font.
    virtual bool ExecuteFontDialog(TFontDialog* Dialog);
    virtual TModalResult MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, int HelpCtx);
    // Shows a popup menu at a screen position; returns the item the user chose, or null.
    virtual TMenuItem* TrackPopupMenu(TPopupMenu* Menu, int X, int Y);
    virtual void Beep() {}
    // The real cursor position in screen pixels, when the widgetset knows it.
    virtual bool GetCursorPos(TPoint& P) {
        (void)P;
        return false;
    }
    // Handles pending native events (Application->ProcessMessages).
    virtual void ProcessMessages() {}
    // Runs the application's event loop until it terminates (headless: returns at once).
    virtual void Run() {}
    // RGB of a system colour (clBtnFace & 0xFF ...).
    virtual TColor GetSysColor(int Index);
    // Size of a text in a font; headless: an estimate from the font's height.
    virtual TSize TextExtent(const TFont* Font, const AnsiString& Text);
    // Thickness of a form's frame (Left, Top = caption and border, Right, Bottom). Headless: 4
    // pixels and a 19-pixel caption, none for bsNone.
    virtual TRect FormFrame(const TCustomForm* Form);
    // Height of a form's menu bar, which lies between the frame's caption and the client area.
    virtual int MenuBarHeight() { return 20; }
    // The screen's size in pixels.
    virtual TSize ScreenSize() { return {1024, 768}; }
    // Calls Fire once, from the event loop, Ms milliseconds from now, for as long as the returned
    // handle is kept; dropping the handle cancels it. Headless: null, nothing ever fires (tests
    // that need time drive it themselves).
    virtual std::shared_ptr<void> StartTimer(int Ms, std::function<void()> Fire);
};

// Milliseconds of a monotonic clock, for measuring how long input is held.
long long TickCount();

// The installed widgetset, never null.
TWidgetset* Widgetset();
// Installs a widgetset (not owned; it must outlive every control); null restores the headless
// one. Returns the previous one.
TWidgetset* InstallWidgetset(TWidgetset* W);

// Sounds the standard beep through the widgetset and counts it.
void Beep();
// How many times Beep was called since the program started.
int BeepCount();

} // namespace vcl
