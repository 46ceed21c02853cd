#include "CodePage.h"

#include "RTLConsts.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace vcl {

namespace {

// A character a page holds only as a base letter followed by a combining mark.
struct TComposedChar {
    char16_t Code;
    unsigned char Base;
    unsigned char Mark;
};

struct TCodePageData {
    int CodePage;
    const char16_t* ToUnicode;
    const TComposedChar* Composed; // ascending by Code
    int ComposedCount;
};

#include "CodePageTables.inc"

// A page with its reverse table, built once.
struct TCodePage {
    const TCodePageData* Data;
    std::vector<std::pair<char16_t, unsigned char>> FromUnicode; // ascending by character

    explicit TCodePage(const TCodePageData& d) : Data(&d) {
        for (int b = 0x80; b < 256; ++b)
            FromUnicode.emplace_back(d.ToUnicode[b], static_cast<unsigned char>(b));
        std::sort(FromUnicode.begin(), FromUnicode.end());
    }

    bool Append(AnsiString& Out, char32_t Code) const {
        if (Code < 0x80) {
            Out += static_cast<char>(Code);
            return true;
        }
        if (Code > 0xFFFF) return false;
        const auto c = static_cast<char16_t>(Code);
        auto it = std::lower_bound(FromUnicode.begin(), FromUnicode.end(), std::make_pair(c, '\0'),
                                   [](const auto& a, const auto& b) { return a.first < b.first; });
        if (it != FromUnicode.end() && it->first == c) {
            Out += static_cast<char>(it->second);
            return true;
        }
        const TComposedChar* end = Data->Composed + Data->ComposedCount;
        const TComposedChar* p = std::lower_bound(
            Data->Composed, end, c, [](const TComposedChar& e, char16_t v) { return e.Code < v; });
        if (p == end || p->Code != c) return false;
        Out += static_cast<char>(p->Base);
        Out += static_cast<char>(p->Mark);
        return true;
    }
};

const TCodePage* findPage(int CodePage) {
    static const std::vector<TCodePage> pages = [] {
        std::vector<TCodePage> v;
        for (const TCodePageData& d : kCodePageData)
            v.emplace_back(d);
        return v;
    }();
    for (const TCodePage& p : pages)
        if (p.Data->CodePage == CodePage) return &p;
    return nullptr;
}

std::atomic<const TCodePage*>& activeSlot() {
    static std::atomic<const TCodePage*> slot{findPage(CodePageFromEnvironment())};
    return slot;
}

const TCodePage& active() {
    return *activeSlot().load(std::memory_order_relaxed);
}

const TCodePage& pageOrRaise(int CodePage) {
    const TCodePage* p = findPage(CodePage);
    if (!p) throw EConvertError(FmtLoadStr(rtlconsts::SBadCodePage, {IntToStr(CodePage)}));
    return *p;
}

} // namespace

const std::vector<int>& SupportedCodePages() {
    static const std::vector<int> pages = [] {
        std::vector<int> v;
        for (const TCodePageData& d : kCodePageData)
            v.push_back(d.CodePage);
        return v;
    }();
    return pages;
}

const char* CodePageScript(int CodePage) {
    switch (CodePage) {
    case 874:
        return "Thai";
    case 1250:
        return "Central European";
    case 1251:
        return "Cyrillic";
    case 1252:
        return "Western European";
    case 1253:
        return "Greek";
    case 1254:
        return "Turkish";
    case 1255:
        return "Hebrew";
    case 1256:
        return "Arabic";
    case 1257:
        return "Baltic";
    case 1258:
        return "Vietnamese";
    default:
        return "";
    }
}

bool IsSupportedCodePage(int CodePage) {
    return findPage(CodePage) != nullptr;
}

int GetAnsiCodePage() {
    return active().Data->CodePage;
}

void SetAnsiCodePage(int CodePage) {
    activeSlot().store(&pageOrRaise(CodePage));
}

int CodePageForLocale(std::string_view Locale) {
    const std::string_view language = Locale.substr(0, Locale.find_first_of("_.@"));
    struct Entry {
        const char* Languages;
        int CodePage;
    };
    static constexpr Entry kTable[] = {{"ru uk bg sr be", 1251},
                                       {"el", 1253},
                                       {"tr az", 1254},
                                       {"pl cs sk hu sl hr ro", 1250},
                                       {"he", 1255},
                                       {"ar fa ur", 1256},
                                       {"lt lv et", 1257},
                                       {"vi", 1258},
                                       {"th", 874}};
    // Serbian in Latin letters is a Central European language as far as code pages go.
    if (language == "sr" && Locale.find("@latin") != std::string_view::npos) return 1250;
    if (language.size() == 2)
        for (const Entry& e : kTable)
            for (std::string_view list = e.Languages; !list.empty();) {
                if (list.substr(0, 2) == language) return e.CodePage;
                list.remove_prefix(std::min<size_t>(3, list.size()));
            }
    return 1252;
}

int CodePageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return CodePageForLocale(value);
    }
    return 1252;
}

void SetAnsiCodePageFromArgument(const AnsiString& Argument) {
    const bool digits =
        !Argument.empty() && Argument.size() <= 5 &&
        std::all_of(Argument.begin(), Argument.end(), [](char c) { return c >= '0' && c <= '9'; });
    const TCodePage* p = digits ? findPage(std::atoi(Argument.c_str())) : nullptr;
    if (!p) throw EConvertError(FmtLoadStr(rtlconsts::SBadCodePage, {Argument}));
    activeSlot().store(p);
}

char32_t AnsiCharToUnicode(unsigned char c) {
    return active().Data->ToUnicode[c];
}

char32_t AnsiCharToUnicode(unsigned char c, int CodePage) {
    return pageOrRaise(CodePage).Data->ToUnicode[c];
}

bool AppendAnsiChar(AnsiString& Out, char32_t Code) {
    return active().Append(Out, Code);
}

bool AppendAnsiChar(AnsiString& Out, char32_t Code, int CodePage) {
    return pageOrRaise(CodePage).Append(Out, Code);
}

AnsiString NoAnsiCharMessage(char32_t Code) {
    return FmtLoadStr(rtlconsts::SNoAnsiChar, {static_cast<unsigned>(Code), GetAnsiCodePage()});
}

bool DecodeUtf8(std::string_view Utf8, size_t& Pos, char32_t& Code) {
    const auto b = static_cast<unsigned char>(Utf8[Pos]);
    int len;
    char32_t min;
    if (b < 0x80) {
        Code = b;
        ++Pos;
        return true;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2, Code = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, Code = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, Code = b & 0x07, min = 0x10000;
    } else {
        ++Pos;
        return false;
    }
    int k = 1;
    for (; k < len && Pos + k < Utf8.size(); ++k) {
        const auto cb = static_cast<unsigned char>(Utf8[Pos + k]);
        if ((cb & 0xC0) != 0x80) break;
        Code = (Code << 6) | (cb & 0x3F);
    }
    Pos += k; // a malformed sequence counts as one character
    return k == len && Code >= min && Code <= 0x10FFFF && !(Code >= 0xD800 && Code <= 0xDFFF);
}

void AppendUtf8(std::string& Out, char32_t Code) {
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Code >> 18));
        Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

std::string AnsiToUtf8(const AnsiString& s) {
    const char16_t* table = active().Data->ToUnicode;
    std::string out;
    out.reserve(s.size());
    for (unsigned char b : s)
        AppendUtf8(out, table[b]);
    return out;
}

std::u16string AnsiToUtf16(const AnsiString& s) {
    const char16_t* table = active().Data->ToUnicode;
    std::u16string out;
    out.reserve(s.size());
    for (unsigned char b : s)
        out += table[b];
    return out;
}

AnsiString Utf8ToAnsi(const std::string& utf8) {
    const TCodePage& page = active();
    AnsiString out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        char32_t code;
        if (!DecodeUtf8(utf8, i, code) || !page.Append(out, code)) out += '?';
    }
    return out;
}

AnsiString Utf16ToAnsi(const std::u16string& utf16) {
    const TCodePage& page = active();
    AnsiString out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDFFF) {
            // A pair stands for one character beyond the basic plane: no page holds one.
            if (u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
                utf16[i + 1] <= 0xDFFF)
                ++i;
            out += '?';
        } else if (!page.Append(out, u)) {
            out += '?';
        }
    }
    return out;
}

AnsiString Utf8ToAnsiStrict(const std::string& utf8) {
    const TCodePage& page = active();
    AnsiString out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        char32_t code;
        if (!DecodeUtf8(utf8, i, code))
            throw EConvertError(
                FmtLoadStr(rtlconsts::SInvalidUtf8, {static_cast<long long>(start)}));
        if (!page.Append(out, code)) throw EConvertError(NoAnsiCharMessage(code));
    }
    return out;
}

AnsiString UnicodeToAnsiStrict(const std::u32string& text) {
    const TCodePage& page = active();
    AnsiString out;
    out.reserve(text.size());
    for (char32_t code : text)
        if (!page.Append(out, code)) throw EConvertError(NoAnsiCharMessage(code));
    return out;
}

} // namespace vcl
