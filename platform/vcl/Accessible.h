#pragma once
// What assistive technology and assistive input need from a control, without any toolkit: the
// words a person would read for it, whether it is a latched switch, and the marks that switch
// scanning and dwell put on a button while they work with it.

#include "rtl/SysUtils.h"

namespace vcl {

// What a control tells a screen reader or a test tool about itself.
struct TAccessibleInfo {
    // The text the control shows, in its font (a symbol font shows symbols, not these bytes).
    AnsiString Caption;
    // What to read when the caption shows symbols or nothing (an arrow, a blank bar); empty
    // when the caption itself is the name.
    AnsiString SpokenName;
    bool Checkable = false; // a switch that stays on (a latched button, a modifier key)
    bool Checked = false;
};

// Marks a button shows on top of its face while assistive input works with it: scanning
// selects it, and dwell shows how long the pointer has rested on it.
struct TAssistMark {
    bool Selected = false;
    int Progress = 0; // dwell progress in percent, 0 to 100; 0 shows nothing
    bool operator==(const TAssistMark& o) const {
        return Selected == o.Selected && Progress == o.Progress;
    }
    bool operator!=(const TAssistMark& o) const { return !(*this == o); }
};

} // namespace vcl
