#pragma once
// Package Quimbel: what the package carries besides its units, the built-in layouts.

#include "runtime/Keyboard.h"

namespace quimbel {

// The built-in layouts are resources of type KLY named US (US QWERTY with the US-International
// Alt Gr characters), DE (German QWERTZ) and NUMPAD (a numeric keypad); names are not
// case-sensitive.
inline const char* const LayoutResourceType = "KLY";
inline const char* const BuiltInLayoutNames[] = {"us", "de", "numpad"};

// Replaces the keys of Keys by the built-in layout Name, as LoadFromFile does with a file; a
// name without a layout raises EResNotFound.
void LoadLayoutResource(TKeyCollection* Keys, const vcl::AnsiString& Name);

} // namespace quimbel
