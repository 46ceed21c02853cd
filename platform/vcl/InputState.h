#pragma once
// The pointer and focus state that the control units share (internal to the library): the
// control holding the pointer capture, the control under the pointer, the focused windowed
// control and the modifier keys of the last input. One object holds it, so that every change
// goes through the few operations below.

#include "vcl/Controls.h"

namespace vcl {

class TInputState {
public:
    // The control that gets the pointer input while a button is held over it, or null.
    TControl* Capture() const { return capture_; }
    void SetCapture(TControl* Control) { capture_ = Control; }
    // The control under the pointer (the one that got CM_MOUSEENTER last), or null.
    TControl* MouseControl() const { return mouseControl_; }
    void SetMouseControl(TControl* Control) { mouseControl_ = Control; }
    // The focused windowed control, or null.
    TWinControl* Focused() const { return focused_; }
    void SetFocused(TWinControl* Control) { focused_ = Control; }
    // The modifier keys of the last pointer or key input: mouse messages carry no Alt key.
    TShiftState LastShift() const { return lastShift_; }
    void SetLastShift(TShiftState Shift) { lastShift_ = Shift; }

    // A control goes away: it holds the capture no more and is no longer under the pointer.
    void ControlGone(const TControl* Control);
    // Clears the focus when it lies in Subtree (Subtree itself or a control inside it); true when
    // it did.
    bool ClearFocusIn(const TControl* Subtree);

private:
    TControl* capture_ = nullptr;
    TControl* mouseControl_ = nullptr;
    TWinControl* focused_ = nullptr;
    TShiftState lastShift_;
};

// The one input state of the process.
TInputState& InputState();

} // namespace vcl
