#pragma once
// Messages of kly import-xkb.

#include "rtl/ResStrings.h"

namespace kly::consts {

using vcl::TResStringRec;

inline const TResStringRec SXkbNoContext{"SXkbNoContext", "cannot read the XKB keymaps"};
inline const TResStringRec SXkbBadName{
    "SXkbBadName", "expected a layout as LAYOUT or LAYOUT(VARIANT), e.g. fr or ch(fr), not \"%s\""};
inline const TResStringRec SXkbUnknown{
    "SXkbUnknown", "%s: XKB has no such layout (see /usr/share/X11/xkb/rules/evdev.lst)"};
// The layout, a letter of it and its code point, and the page that holds the most letters.
inline const TResStringRec SXkbNoPage{
    "SXkbNoPage", "%s: no single-byte code page holds its letters: \"%s\" (U+%.4X) and others are "
                  "in none of 874, 1250-1258 (the best, %d, holds less than half)"};
inline const TResStringRec SXkbNotInPage{
    "SXkbNotInPage",
    "%s: code page %d cannot hold its letters: \"%s\" (U+%.4X) and others are not in it"};
// The layout, the code page, the characters.
inline const TResStringRec SXkbLeftOff{"SXkbLeftOff",
                                       "%s: warning: code page %d cannot hold %s; left off"};

} // namespace kly::consts
