#pragma once
// The pointer and focus state that the control units share (internal to the library): the
// control holding the pointer capture, the control under the pointer, the focused windowed
// control and the modifier keys of the last input.

#include "vcl/Controls.h"

namespace vcl {

extern TControl* g_capture;
extern TControl* g_mouseControl;
extern TWinControl* g_focused;
extern TShiftState g_lastShift;

// True when C is Ancestor or lies inside it.
bool IsAncestorOrSelf(const TControl* Ancestor, const TControl* C);

} // namespace vcl
