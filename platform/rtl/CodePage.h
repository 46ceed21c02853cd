#pragma once
// Windows-1252 and Unicode. Every byte has a code point (the five bytes Windows-1252 leaves
// undefined map to U+0081, U+008D, U+008F, U+0090 and U+009D), so AnsiString -> Unicode ->
// AnsiString is lossless; a character without a Windows-1252 byte becomes '?'.

#include "SysUtils.h"

#include <string>

namespace vcl {

char32_t AnsiCharToUnicode(unsigned char c);
// False when the code point has no Windows-1252 byte.
bool UnicodeToAnsiChar(char32_t cp, char& out);

std::string AnsiToUtf8(const AnsiString& s);
// Malformed UTF-8 sequences become '?' as well.
AnsiString Utf8ToAnsi(const std::string& utf8);
std::u16string AnsiToUtf16(const AnsiString& s);
// Surrogate pairs and unpaired surrogates become '?'.
AnsiString Utf16ToAnsi(const std::u16string& utf16);

} // namespace vcl
