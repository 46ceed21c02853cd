#pragma once
// What the keyboard knows of the characters on its keys: which are letters (Caps Lock for
// letters only, a locked Shift) and which characters of the active code page are accented forms
// of a key's character (its long-press alternates). The facts come from a table generated from
// the Unicode database at build time.

#include "rtl/SysUtils.h"

namespace quimbel {

// True for a Unicode letter of the Latin, Greek, Cyrillic and Thai blocks (and ASCII).
bool IsLetterChar(char32_t Code);
// The first character of Code's canonical decomposition (e for é, и for й), or 0 when Code does
// not decompose.
char32_t DecompositionBase(char32_t Code);
// The capital of a letter (Ç for ç), or Code itself when it has no one-character capital.
char32_t CapitalChar(char32_t Code);
// Every byte of the active code page whose character decomposes to one that begins with Value's
// character, in code-page order; empty unless Value is one character.
vcl::AnsiString FindAlternates(const vcl::AnsiString& Value);

} // namespace quimbel
