// Input routing: pointer capture and hover, the focused control, mouse, wheel and key input
// entering at a windowed control, and the shift-state conversions of mouse messages.

#include "vcl/Controls.h"
#include "vcl/Forms.h"

#include "vcl/InputState.h"
#include "vcl/VCLConsts.h"

#include <algorithm>
#include <limits>

namespace vcl {

namespace {
TMouse g_mouse;
} // namespace

TMouse* const Mouse = &g_mouse;

TPoint TMouse::GetCursorPos() const {
    TPoint p;
    if (Widgetset()->GetCursorPos(p)) return p;
    return pos_;
}

TControl* TMouse::Capture() const {
    return InputState().Capture();
}

TControl* GetCaptureControl() {
    return InputState().Capture();
}
void SetCaptureControl(TControl* Control) {
    InputState().SetCapture(Control);
}
TControl* GetMouseControl() {
    return InputState().MouseControl();
}
TWinControl* FindFocusedControl() {
    return InputState().Focused();
}

TShiftState KeysToShiftState(uintptr_t Keys) {
    TShiftState s;
    if (Keys & MK_SHIFT) s.Include(ssShift);
    if (Keys & MK_CONTROL) s.Include(ssCtrl);
    if (Keys & MK_LBUTTON) s.Include(ssLeft);
    if (Keys & MK_RBUTTON) s.Include(ssRight);
    if (Keys & MK_MBUTTON) s.Include(ssMiddle);
    if (InputState().LastShift().Contains(ssAlt)) s.Include(ssAlt);
    return s;
}

uintptr_t ShiftStateToKeys(TShiftState Shift) {
    uintptr_t k = 0;
    if (Shift.Contains(ssShift)) k |= MK_SHIFT;
    if (Shift.Contains(ssCtrl)) k |= MK_CONTROL;
    if (Shift.Contains(ssLeft)) k |= MK_LBUTTON;
    if (Shift.Contains(ssRight)) k |= MK_RBUTTON;
    if (Shift.Contains(ssMiddle)) k |= MK_MBUTTON;
    return k;
}

namespace {

// The deepest visible, enabled windowed control under a screen point, starting at W.
TWinControl* windowAt(TWinControl* w, const TPoint& screen) {
    for (;;) {
        TPoint p = w->ScreenToClient(screen);
        TControl* c = w->ControlAtPos(p, false, true);
        if (!c || !c->IsWindowed()) return w;
        w = static_cast<TWinControl*>(c);
    }
}

// The control under a screen point inside W: the topmost enabled graphic child of the deepest
// windowed control there, or that windowed control.
TControl* controlAt(TWinControl* w, const TPoint& screen) {
    TWinControl* window = windowAt(w, screen);
    TControl* over = window->ControlAtPos(window->ScreenToClient(screen), false, false);
    return over ? over : window;
}

unsigned mouseMessage(TMouseEventKind kind, TMouseButton b, bool dbl) {
    if (kind == mekMove) return WM_MOUSEMOVE;
    switch (b) {
    case mbLeft:
        return kind == mekDown ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : WM_LBUTTONUP;
    case mbRight:
        return kind == mekDown ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN) : WM_RBUTTONUP;
    default:
        return kind == mekDown ? (dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN) : WM_MBUTTONUP;
    }
}

void trackHover(TControl* over) {
    TInputState& input = InputState();
    if (over == input.MouseControl()) return;
    TControl* old = input.MouseControl();
    input.SetMouseControl(over);
    if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
    if (over && input.MouseControl() == over) over->Perform(CM_MOUSEENTER, 0, 0);
}

} // namespace

void TWinControl::routeMouse(TMouseEventKind Kind, TMouseButton Button, TShiftState Shift, int X,
                             int Y) {
    TInputEventScope scope;
    TPoint screen = ClientToScreen({X, Y});
    g_mouse.SetCursorPos(screen);
    InputState().SetLastShift(Shift);

    TControl* over = controlAt(this, screen);
    if (Kind == mekMove || Kind == mekDown) trackHover(over);

    TControl* capture = InputState().Capture();
    TControl* target = capture ? capture : over;
    uintptr_t keys = ShiftStateToKeys(Shift);
    if (Kind == mekDown) {
        keys |= Button == mbLeft ? MK_LBUTTON : Button == mbRight ? MK_RBUTTON : MK_MBUTTON;
        // Windowed controls that take part in the tab order take the focus when pressed; graphic
        // controls (a speed button) never do, nor do controls being designed: the press is the
        // form designer's, and typed keys must reach the designer, not the control.
        if (Button == mbLeft && target->IsWindowed()) {
            auto* w = static_cast<TWinControl*>(target);
            if (w->tabStop_ && !w->ComponentState().Contains(csDesigning) && w->CanFocus() &&
                !w->Focused())
                w->SetFocus();
        }
    } else if (Kind == mekUp) {
        keys &= ~(Button == mbLeft ? MK_LBUTTON : Button == mbRight ? MK_RBUTTON : MK_MBUTTON);
    }
    TPoint local = target->ScreenToClient(screen);
    auto alive = target->LifeToken();
    target->Perform(mouseMessage(Kind, Button, Shift.Contains(ssDouble)), keys,
                    PointToLParam(local.X, local.Y));
    if (Kind == mekDown && Button == mbRight && *alive)
        target->Perform(WM_CONTEXTMENU, 0, PointToLParam(screen.X, screen.Y));
    scope.Finish();
}

void TWinControl::InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    routeMouse(mekDown, Button, Shift, X, Y);
}

void TWinControl::InputMouseMove(TShiftState Shift, int X, int Y) {
    routeMouse(mekMove, mbLeft, Shift, X, Y);
}

void TWinControl::InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    routeMouse(mekUp, Button, Shift, X, Y);
}

void TWinControl::InputMouseLeave() {
    TControl* over = InputState().MouseControl();
    if (!over || !ContainsControl(over)) return;
    TInputEventScope scope;
    trackHover(nullptr);
    scope.Finish();
}

bool TWinControl::InputMouseWheel(TShiftState Shift, int WheelDelta, int X, int Y) {
    TInputEventScope scope;
    const TPoint screen = ClientToScreen({X, Y});
    g_mouse.SetCursorPos(screen);
    InputState().SetLastShift(Shift);
    // A disabled control takes no input; the turn goes to the nearest enabled parent.
    TControl* target = controlAt(this, screen);
    while (target && !target->IsEnabledInParents())
        target = target->GetParent();
    const bool handled =
        target && target->Perform(WM_MOUSEWHEEL, WheelToWParam(ShiftStateToKeys(Shift), WheelDelta),
                                  PointToLParam(screen.X, screen.Y)) != 0;
    scope.Finish();
    return handled;
}

int WheelSteps(int& Rest, int WheelDelta, int StepsPerNotch) {
    if ((Rest < 0 && WheelDelta > 0) || (Rest > 0 && WheelDelta < 0)) Rest = 0;
    const long long total =
        static_cast<long long>(Rest) + static_cast<long long>(WheelDelta) * StepsPerNotch;
    const long long steps = total / WHEEL_DELTA;
    Rest = static_cast<int>(total - steps * WHEEL_DELTA);
    return static_cast<int>(std::clamp<long long>(steps, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

bool TWinControl::InputKeyDown(Word Key, TShiftState Shift) {
    TInputEventScope scope;
    InputState().SetLastShift(Shift);
    TWinControl* focused = InputState().Focused();
    TWinControl* target = (focused && ContainsControl(focused)) ? focused : this;
    // The form's menu shortcuts come first, then the form's preview, then the control.
    TCustomForm* form = GetParentForm(target);
    if (form && form->IsShortCut(Key, Shift)) {
        scope.Finish();
        return true;
    }
    for (TWinControl* receiver : {static_cast<TWinControl*>(form), target}) {
        if (!receiver || !receiver->OnKeyDown) continue;
        if (receiver == form && (form == target || !form->GetKeyPreview())) continue;
        receiver->OnKeyDown(receiver, Key, Shift);
        if (Key == 0) {
            scope.Finish();
            return true;
        }
    }
    bool used = false;
    if (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_TAB) {
        if (TWinControl* top = target->GetTopParent())
            used = top->Perform(CM_DIALOGKEY, Key,
                                static_cast<intptr_t>(ShiftStateToKeys(Shift))) != 0;
    }
    scope.Finish();
    return used;
}

void TWinControl::InputChar(char Key) {
    TInputEventScope scope;
    TWinControl* focused = InputState().Focused();
    TWinControl* target = (focused && ContainsControl(focused)) ? focused : this;
    if (target->OnKeyPress) target->OnKeyPress(target, Key);
    scope.Finish();
}

void MouseClick(TControl* Control, TMouseButton Button) {
    MouseClickAt(Control, Control->GetClientWidth() / 2, Control->GetClientHeight() / 2, Button);
}

void MouseClickAt(TControl* Control, int X, int Y, TMouseButton Button) {
    TWinControl* w = Control->GetWindowedControl();
    if (!w) throw EInvalidOperation(FmtLoadStr(vclconsts::SParentRequired, {Control->GetName()}));
    TPoint p = Control->ClientToClient({X, Y}, w);
    auto alive = w->LifeToken();
    w->InputMouseDown(Button, {}, p.X, p.Y);
    if (*alive) w->InputMouseUp(Button, {}, p.X, p.Y);
}

} // namespace vcl
