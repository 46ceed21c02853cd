#pragma once
// The record of one key in a layout stream: its values in stream order, and the bits of its font
// style value. The key collection reads and writes keys in this order; tools that walk or convert
// layout streams take the order and the style bits from here.

#include "vcl/Graphics.h"

#include <cstdint>

namespace quimbel::layoutrecord {

enum class TValueKind { Integer, String, Boolean };

struct TField {
    const char* Name;
    TValueKind Kind;
};

inline constexpr TField Fields[] = {
    {"type", TValueKind::Integer},        {"caption normal", TValueKind::String},
    {"caption shift", TValueKind::String}, {"caption alt gr", TValueKind::String},
    {"value normal", TValueKind::String},  {"value shift", TValueKind::String},
    {"value alt gr", TValueKind::String},  {"left", TValueKind::Integer},
    {"top", TValueKind::Integer},          {"width", TValueKind::Integer},
    {"height", TValueKind::Integer},       {"visible", TValueKind::Boolean},
    {"enabled", TValueKind::Boolean},      {"font name", TValueKind::String},
    {"font size", TValueKind::Integer},    {"font color", TValueKind::Integer},
    {"font style", TValueKind::Integer},
};

// Font styles by bit of the style value: bit 0 bold, 1 italic, 2 underline, 3 strike-out.
inline constexpr vcl::TFontStyle StyleBits[] = {vcl::fsBold, vcl::fsItalic, vcl::fsUnderline,
                                                vcl::fsStrikeOut};

inline int32_t StyleValue(const vcl::TFontStyles& Styles) {
    int32_t value = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (Styles.Contains(StyleBits[bit])) value |= 1 << bit;
    return value;
}

// Bits above the four styles are ignored.
inline vcl::TFontStyles StylesOf(int32_t Value) {
    vcl::TFontStyles styles;
    for (int bit = 0; bit < 4; ++bit)
        if (Value & (1 << bit)) styles.Include(StyleBits[bit]);
    return styles;
}

} // namespace quimbel::layoutrecord
