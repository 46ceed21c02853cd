#pragma once
// The active ANSI code page and the conversions between its bytes and Unicode.
//
// AnsiString holds bytes of the active ANSI code page, a process setting: one of the single-byte
// Windows code pages 874 (Thai) and 1250-1258. Until an application calls SetAnsiCodePage it is
// derived from the locale (LC_ALL, LC_CTYPE, LANG). Every byte of every page has a Unicode
// character of its own (a byte the page leaves undefined stands for the C1 control of the same
// value from 0x80 to 0x9F, and for U+F700 plus the byte above that), so bytes -> Unicode -> bytes
// is lossless. Pages 1255 and 1258 also hold some characters as a base letter followed by a
// combining mark; converting such a character to bytes gives both.
//
// Reading never fails: the lenient conversions turn what the page cannot hold into '?'. Text a
// user enters goes through the strict ones, which raise EConvertError naming the character and
// the code page.

#include "SysUtils.h"

#include <string>
#include <string_view>
#include <vector>

namespace vcl {

// The supported pages in ascending order.
const std::vector<int>& SupportedCodePages();
bool IsSupportedCodePage(int CodePage);
int GetAnsiCodePage();
// What a supported page is for ("Cyrillic" for 1251), for menus and status lines; empty for any
// other number.
const char* CodePageScript(int CodePage);
// Raises EConvertError when the page is not supported.
void SetAnsiCodePage(int CodePage);
// The page a locale name ("ru_RU.UTF-8", "el_GR", "sr_RS@latin") implies; 1252 for any other.
int CodePageForLocale(std::string_view Locale);
// The page of the first non-empty of LC_ALL, LC_CTYPE and LANG.
int CodePageFromEnvironment();
// Activates the page given as a program's --codepage argument ("1251"); raises EConvertError
// naming the argument and the supported pages when it is no supported page.
void SetAnsiCodePageFromArgument(const AnsiString& Argument);

// The character a byte stands for in the active page (or in the given one).
char32_t AnsiCharToUnicode(unsigned char c);
char32_t AnsiCharToUnicode(unsigned char c, int CodePage);
// Appends the bytes of Code in the active page (one, or a base letter and a combining mark);
// false, appending nothing, when the page cannot hold it.
bool AppendAnsiChar(AnsiString& Out, char32_t Code);
bool AppendAnsiChar(AnsiString& Out, char32_t Code, int CodePage);
// The message of the error raised for a character the active page cannot hold.
AnsiString NoAnsiCharMessage(char32_t Code);

// Strict UTF-8: decodes the character at Utf8[Pos] and moves Pos past it. A malformed sequence
// (stray or missing continuation bytes, overlong forms, surrogates, beyond U+10FFFF) returns
// false and moves Pos past the bytes that belong to it.
bool DecodeUtf8(std::string_view Utf8, size_t& Pos, char32_t& Code);
void AppendUtf8(std::string& Out, char32_t Code);

std::string AnsiToUtf8(const AnsiString& s);
std::u16string AnsiToUtf16(const AnsiString& s);
// Lenient: malformed sequences, unpaired surrogates and characters the page cannot hold become '?'.
AnsiString Utf8ToAnsi(const std::string& utf8);
AnsiString Utf16ToAnsi(const std::u16string& utf16);
// Strict: raise EConvertError for malformed UTF-8 or a character the page cannot hold.
AnsiString Utf8ToAnsiStrict(const std::string& utf8);
AnsiString UnicodeToAnsiStrict(const std::u32string& text);

} // namespace vcl
