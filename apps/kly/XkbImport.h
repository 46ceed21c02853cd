#pragma once
// Layouts from the system's XKB keymaps: the characters of the main block's keys at the normal,
// Shift and Alt Gr levels, placed on the ANSI geometry of the built-in us layout or the ISO one of
// the built-in de layout, with their function row, editing block and modifier keys.

#include "runtime/Keyboard.h"

#include <string>
#include <vector>

namespace kly {

enum class TXkbGeometry { Auto, Ansi, Iso };

struct TXkbImportOptions {
    std::string Layout;
    std::string Variant;
    TXkbGeometry Geometry = TXkbGeometry::Auto;
    // 0: the page that holds the layout's characters.
    int CodePage = 0;
};

// One character XKB gives on a key at a level, and where the import put it.
struct TXkbChar {
    char32_t Code = 0;
    // What the key types: Code, or for a dead key or a character the page lacks, the stand-in
    // the page holds (the spacing accent, ş for ș in 1250); 0 when left off.
    char32_t Typed = 0;
    int Level = 0; // 0 normal, 1 Shift, 2 Alt Gr
    bool Dead = false;
    bool Letter = false;
    // The key that types it, or null when the code page cannot hold it (left off).
    quimbel::TKey* Key = nullptr;
};

struct TXkbImport {
    bool Iso = false;
    int CodePage = 0;
    // Every character of the main block, in key and level order.
    std::vector<TXkbChar> Chars;
    // The characters left off because the code page cannot hold them, each once.
    std::u32string LeftOff;
};

// "fr" or "ch(fr)" into layout and variant; false for a malformed name.
bool ParseXkbLayoutName(const std::string& Name, std::string& Layout, std::string& Variant);

// The name as XKB's lists write it: "fr" or "ch(fr)".
std::string XkbLayoutName(const std::string& Layout, const std::string& Variant);

// Appends the imported layout to Keys and makes its code page the active one. Raises EKlyError
// when XKB does not know the layout, or when no code page holds its letters (naming the layout
// and a letter of it).
TXkbImport ImportXkb(const TXkbImportOptions& Options, quimbel::TKeyCollection& Keys);

} // namespace kly
