#pragma once
// The JSON form of a layout, as kly dump writes it and kly build reads it:
//
//   {"keys": [{"type": "ktNormal", "captions": ["a", "A", ""], "values": ["a", "A", ""],
//     "left": 0, "top": 0, "width": 8, "height": 8, "visible": true, "enabled": true,
//     "font": {"name": "MS Sans Serif", "size": 8, "color": 255, "style": ["fsBold"]}}]}
//
// Strings are UTF-8 and map one to one onto the Windows-1252 bytes of the key model (the five
// bytes that Windows-1252 leaves undefined are U+0081, U+008D, U+008F, U+0090 and U+009D), so
// every layout survives the way through JSON byte for byte.

#include "runtime/Keyboard.h"

#include <string>

namespace kly {

// The whole layout on one line, or with Pretty one key per line; ends with a line break.
std::string LayoutToJson(const quimbel::TKeyCollection& Keys, bool Pretty = false);

// Appends the keys of a JSON layout to Keys. Besides the form above it accepts a number for
// "type" and an integer bit set for "style" (1 bold, 2 italic, 4 underline, 8 strike-out), and a
// colour up to 0xFFFFFFFF. Every field is required and no other is allowed. Errors raise
// EKlyError naming the key index and the field; Keys is then unchanged.
void LayoutFromJson(const std::string& Json, quimbel::TKeyCollection& Keys);

} // namespace kly
