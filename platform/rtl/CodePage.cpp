#include "CodePage.h"

namespace vcl {

namespace {

constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendAnsi(AnsiString& out, char32_t cp) {
    char c;
    out += UnicodeToAnsiChar(cp, c) ? c : '?';
}

} // namespace

char32_t AnsiCharToUnicode(unsigned char c) {
    return c >= 0x80 && c <= 0x9F ? kHigh[c - 0x80] : c;
}

bool UnicodeToAnsiChar(char32_t cp, char& out) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        out = static_cast<char>(cp);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string AnsiToUtf8(const AnsiString& s) {
    std::string out;
    out.reserve(s.size());
    for (unsigned char b : s) {
        char32_t cp = AnsiCharToUnicode(b);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

AnsiString Utf8ToAnsi(const std::string& utf8) {
    AnsiString out;
    out.reserve(utf8.size());
    size_t i = 0;
    const size_t n = utf8.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        int len;
        char32_t cp;
        char32_t min;
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            len = 2, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4, cp = b & 0x07, min = 0x10000;
        } else {
            out += '?';
            ++i;
            continue;
        }
        int k = 1;
        for (; k < len && i + k < n; ++k) {
            unsigned char cb = static_cast<unsigned char>(utf8[i + k]);
            if ((cb & 0xC0) != 0x80) break;
            cp = (cp << 6) | (cb & 0x3F);
        }
        if (k < len || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += '?';
            i += k; // the malformed sequence counts as one character
            continue;
        }
        appendAnsi(out, cp);
        i += len;
    }
    return out;
}

std::u16string AnsiToUtf16(const AnsiString& s) {
    std::u16string out;
    out.reserve(s.size());
    for (unsigned char b : s)
        out += static_cast<char16_t>(AnsiCharToUnicode(b));
    return out;
}

AnsiString Utf16ToAnsi(const std::u16string& utf16) {
    AnsiString out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF)
            ++i; // a pair stands for one character beyond the basic plane: none is in Windows-1252
        appendAnsi(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
    }
    return out;
}

} // namespace vcl
