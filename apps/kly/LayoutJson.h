#pragma once
// The JSON form of a layout, as kly dump writes it and kly build reads it:
//
//   {"codepage": 1252, "keys": [{"type": "ktNormal", "captions": ["a", "A", ""],
//     "values": ["a", "A", ""], "left": 0, "top": 0, "width": 8, "height": 8, "visible": true,
//     "enabled": true,
//     "font": {"name": "MS Sans Serif", "size": 8, "color": 255, "style": ["fsBold"]}}]}
//
// Strings are UTF-8 and map one to one onto the bytes of the key model in the ANSI code page named
// by "codepage" (every byte of every page has a character of its own), so every layout survives
// the way through JSON byte for byte. A layout file does not record its code page: the JSON form
// does, so that building it again gives the same bytes whatever the locale.

#include "runtime/Keyboard.h"

#include <string>

namespace kly {

// The whole layout on one line, or with Pretty one key per line; ends with a line break. The
// strings are taken as bytes of the active code page, which "codepage" names.
std::string LayoutToJson(const quimbel::TKeyCollection& Keys, bool Pretty = false);

// Appends the keys of a JSON layout to Keys. Besides the form above it accepts a number for
// "type" and an integer bit set for "style" (1 bold, 2 italic, 4 underline, 8 strike-out), and a
// colour up to 0xFFFFFFFF. Every field is required and no other is allowed, except "codepage":
// with UseFileCodePage, the page it names becomes the active code page before the strings are
// converted; the strings are converted to the active page. Errors raise EKlyError naming the key
// index and the field (a character the page cannot hold among them); Keys is then unchanged.
void LayoutFromJson(const std::string& Json, quimbel::TKeyCollection& Keys,
                    bool UseFileCodePage = true);

} // namespace kly
