#pragma once
// Keys watched application-wide: a hook sees every key a person presses or releases anywhere in
// the application before any control does, and may take it, so that it goes nowhere else (a
// switch of switch scanning, which types nothing). The widgetset feeds every key through
// InputApplicationKey; tests call it the same way.

#include "vcl/Types.h"

#include <functional>
#include <memory>

namespace vcl {

// Key is a virtual-key code; Down is false for a release; Repeat marks a key held down that
// the system repeats. True takes the key.
using TKeyHook = std::function<bool(Word Key, bool Down, bool Repeat)>;

// Adds a hook, which stays for as long as the returned handle lives. The latest hook is asked
// first.
std::shared_ptr<void> HookKeys(TKeyHook Hook);

// Whether any hook is there; a widgetset asks nothing more of the model while none is.
bool KeysHooked();

// A key pressed or released anywhere in the application: the hooks' turn. True when a hook took
// it.
bool InputApplicationKey(Word Key, bool Down, bool Repeat);

} // namespace vcl
