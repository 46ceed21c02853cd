#pragma once
// The record of one key in a layout stream: its fields in stream order, each with the kind of its
// value and its place in a TKey, and the bits of the font style value. This table is the one
// description of the record: the key collection reads and writes keys from it, and tools that walk
// or convert layout streams take the order, the kinds and the style bits from here.

#include "Keys.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace quimbel::layoutrecord {

enum class TValueKind { Integer, String, Boolean };

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

// One field: its name, the kind of its value, and the accessors of that kind (the others are
// null). Setters take the value as the reader returns it: stored values get no range test, and
// a type, width or height keeps the low 8 bits. Reading never goes through SetKeyType, so a key
// keeps the values stored for it whatever its type.
struct TField {
    const char* Name;
    TValueKind Kind;
    int64_t (*GetInteger)(const TKey&);
    void (*SetInteger)(TKey&, int32_t);
    const vcl::AnsiString& (*GetString)(const TKey&);
    void (*SetString)(TKey&, vcl::AnsiString);
    bool (*GetBoolean)(const TKey&);
    void (*SetBoolean)(TKey&, bool);
};

namespace field {

constexpr TField Integer(const char* Name, int64_t (*Get)(const TKey&),
                         void (*Set)(TKey&, int32_t)) {
    return {Name, TValueKind::Integer, Get, Set, nullptr, nullptr, nullptr, nullptr};
}
constexpr TField String(const char* Name, const vcl::AnsiString& (*Get)(const TKey&),
                        void (*Set)(TKey&, vcl::AnsiString)) {
    return {Name, TValueKind::String, nullptr, nullptr, Get, Set, nullptr, nullptr};
}
constexpr TField Boolean(const char* Name, bool (*Get)(const TKey&), void (*Set)(TKey&, bool)) {
    return {Name, TValueKind::Boolean, nullptr, nullptr, nullptr, nullptr, Get, Set};
}

template <TKeyLevel Level> const vcl::AnsiString& caption(const TKey& Key) {
    return Key.KeyCaption[Level];
}
template <TKeyLevel Level> void setCaption(TKey& Key, vcl::AnsiString Value) {
    Key.KeyCaption[Level] = std::move(Value);
}
template <TKeyLevel Level> const vcl::AnsiString& value(const TKey& Key) {
    return Key.KeyValue[Level];
}
template <TKeyLevel Level> void setValue(TKey& Key, vcl::AnsiString Value) {
    Key.KeyValue[Level] = std::move(Value);
}

} // namespace field

inline constexpr TField Fields[] = {
    field::Integer(
        "type", [](const TKey& k) -> int64_t { return k.KeyType; },
        [](TKey& k, int32_t v) { k.KeyType = static_cast<TKeyType>(v & 0xFF); }),
    field::String("caption normal", field::caption<klNormal>, field::setCaption<klNormal>),
    field::String("caption shift", field::caption<klShift>, field::setCaption<klShift>),
    field::String("caption alt gr", field::caption<klAltGr>, field::setCaption<klAltGr>),
    field::String("value normal", field::value<klNormal>, field::setValue<klNormal>),
    field::String("value shift", field::value<klShift>, field::setValue<klShift>),
    field::String("value alt gr", field::value<klAltGr>, field::setValue<klAltGr>),
    field::Integer(
        "left", [](const TKey& k) -> int64_t { return k.Left; },
        [](TKey& k, int32_t v) { k.SetLeft(v); }),
    field::Integer(
        "top", [](const TKey& k) -> int64_t { return k.Top; },
        [](TKey& k, int32_t v) { k.SetTop(v); }),
    field::Integer(
        "width", [](const TKey& k) -> int64_t { return k.Width; },
        [](TKey& k, int32_t v) { k.SetWidth(static_cast<TKeyWidth>(v & 0xFF)); }),
    field::Integer(
        "height", [](const TKey& k) -> int64_t { return k.Height; },
        [](TKey& k, int32_t v) { k.SetHeight(static_cast<TKeyHeight>(v & 0xFF)); }),
    field::Boolean(
        "visible", [](const TKey& k) { return k.Visible; },
        [](TKey& k, bool v) { k.SetVisible(v); }),
    field::Boolean(
        "enabled", [](const TKey& k) { return k.Enabled; },
        [](TKey& k, bool v) { k.SetEnabled(v); }),
    field::String(
        "font name", [](const TKey& k) -> const vcl::AnsiString& { return k.Font->GetName(); },
        [](TKey& k, vcl::AnsiString v) { k.Font->SetName(v); }),
    field::Integer(
        "font size", [](const TKey& k) -> int64_t { return k.Font->GetSize(); },
        [](TKey& k, int32_t v) { k.Font->SetSize(v); }),
    field::Integer(
        "font color", [](const TKey& k) -> int64_t { return k.Font->GetColor(); },
        [](TKey& k, int32_t v) { k.Font->SetColor(v); }),
    field::Integer(
        "font style", [](const TKey& k) -> int64_t { return StyleValue(k.Font->GetStyle()); },
        [](TKey& k, int32_t v) { k.Font->SetStyle(k.Font->GetStyle() + StylesOf(v)); }),
};

inline constexpr size_t FieldCount = std::size(Fields);

// How many fields hold values of Kind.
constexpr int CountOf(TValueKind Kind) {
    int count = 0;
    for (const TField& f : Fields)
        if (f.Kind == Kind) ++count;
    return count;
}

} // namespace quimbel::layoutrecord
