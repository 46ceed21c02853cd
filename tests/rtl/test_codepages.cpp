#include "rtl/CodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>

using namespace vcl;

namespace {

struct CodePageGuard {
    int saved = GetAnsiCodePage();
    ~CodePageGuard() { SetAnsiCodePage(saved); }
};

// What the C library's iconv makes of In, or false when it rejects it.
bool iconvConvert(const std::string& To, const std::string& From, const std::string& In,
                  std::string& Out) {
    iconv_t cd = iconv_open(To.c_str(), From.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char buf[32];
    char* in = const_cast<char*>(In.data());
    size_t inLeft = In.size(), outLeft = sizeof buf;
    char* out = buf;
    const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) &&
                    iconv(cd, nullptr, nullptr, &out, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    Out.assign(buf, static_cast<size_t>(out - buf));
    return ok;
}

} // namespace

TEST(CodePages, EveryByteOfEveryPageAgreesWithIconvAndSurvivesBothWays) {
    CodePageGuard guard;
    EXPECT_EQ(SupportedCodePages(),
              (std::vector<int>{874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}));
    AnsiString all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (int page : SupportedCodePages()) {
        const std::string name = "CP" + std::to_string(page);
        for (int b = 0; b < 256; ++b) {
            const char32_t code = AnsiCharToUnicode(static_cast<unsigned char>(b), page);
            std::string utf8;
            if (iconvConvert("UTF-8", name, std::string(1, static_cast<char>(b)), utf8)) {
                std::string ours;
                AppendUtf8(ours, code);
                EXPECT_EQ(ours, utf8) << page << " byte " << b;
                std::string back;
                if (code >= 0x80) {
                    EXPECT_TRUE(iconvConvert(name, "UTF-8", utf8, back) &&
                                back == std::string(1, static_cast<char>(b)))
                        << page << " byte " << b;
                }
            } else {
                EXPECT_EQ(code, b < 0xA0 ? char32_t(b) : char32_t(0xF700 + b)) << page << " " << b;
            }
            AnsiString one;
            EXPECT_TRUE(AppendAnsiChar(one, code, page));
            EXPECT_EQ(one, AnsiString(1, static_cast<char>(b))) << page << " byte " << b;
        }
        SetAnsiCodePage(page);
        EXPECT_EQ(GetAnsiCodePage(), page);
        EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all) << page;
        EXPECT_EQ(Utf8ToAnsiStrict(AnsiToUtf8(all)), all) << page;
        EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all) << page;
    }
}

TEST(CodePages, CharactersOfEachScript) {
    CodePageGuard guard;
    struct Case {
        int Page;
        const char* Utf8;
        const char* Ansi;
    };
    const Case cases[] = {
        {1251, "Съешь", "\xD1\xFA\xE5\xF8\xFC"},
        {1253, "Ωμέγα", "\xD9\xEC\xDD\xE3\xE1"},
        {1250, "Łódź", "\xA3\xF3\x64\x9F"},
        {1254, "İğ", "\xDD\xF0"},
        {874, "ไทย", "\xE4\xB7\xC2"},
        // Characters held as a base letter and a combining mark.
        {1258, "Việt", "Vi\xEA\xF2t"},
        {1255, "\xEF\xAC\xAA", "\xF9\xD1"}, // shin with shin dot
    };
    for (const Case& c : cases) {
        SetAnsiCodePage(c.Page);
        EXPECT_EQ(Utf8ToAnsiStrict(c.Utf8), c.Ansi) << c.Page;
    }
    SetAnsiCodePage(1252);
    EXPECT_EQ(Utf8ToAnsi("€Ω😀 a\xC3 \xFF\xC0\x80"), "\x80?? a? ??");
    EXPECT_EQ(Utf16ToAnsi(u"\u00e9\u2122\u03a9\xD83D\xDE00\xD800x"), "\xE9\x99???x");
}

TEST(CodePages, StrictConversionNamesTheCharacterAndThePage) {
    CodePageGuard guard;
    SetAnsiCodePage(1252);
    struct Case {
        std::string Utf8;
        const char* Message;
    };
    const Case cases[] = {
        {"abЖ", "Character U+0416 is not in code page 1252"},
        {"x😀", "Character U+1F600 is not in code page 1252"},
        {"ab\xC0\x80", "Invalid UTF-8 at byte 2"},        // overlong
        {"\xED\xA0\x80", "Invalid UTF-8 at byte 0"},      // surrogate
        {"a\xF4\x90\x80\x80", "Invalid UTF-8 at byte 1"}, // beyond U+10FFFF
        {"ab\xE2\x82", "Invalid UTF-8 at byte 2"},        // cut short
    };
    for (const Case& c : cases) {
        try {
            Utf8ToAnsiStrict(c.Utf8);
            ADD_FAILURE() << c.Message;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
    SetAnsiCodePage(1251);
    EXPECT_THROW(UnicodeToAnsiStrict(U"é"), EConvertError);
    EXPECT_EQ(NoAnsiCharMessage(U'é'), "Character U+00E9 is not in code page 1251");
}

TEST(CodePages, DefaultFromTheLocaleAndChoiceByArgument) {
    CodePageGuard guard;
    const std::pair<const char*, int> locales[] = {
        {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},   {"el_GR.UTF-8", 1253},
        {"tr_TR", 1254},       {"pl_PL", 1250},   {"sr_RS@latin", 1250},
        {"sr_RS", 1251},       {"he_IL", 1255},   {"fa_IR", 1256},
        {"et_EE", 1257},       {"vi_VN", 1258},   {"th_TH.UTF-8", 874},
        {"de_DE.UTF-8", 1252}, {"C.UTF-8", 1252}, {"", 1252},
        {"russian", 1252}};
    for (const auto& [locale, page] : locales)
        EXPECT_EQ(CodePageForLocale(locale), page) << locale;

    SetAnsiCodePageFromArgument("1253");
    EXPECT_EQ(GetAnsiCodePage(), 1253);
    for (const char* bad : {"1249", "65001", "", "12511", "+1251", "1251x"}) {
        try {
            SetAnsiCodePageFromArgument(bad);
            ADD_FAILURE() << bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad +
                                       "' is not a supported code page (874, 1250 to 1258)");
        }
    }
    EXPECT_EQ(GetAnsiCodePage(), 1253);
    EXPECT_THROW(SetAnsiCodePage(65001), EConvertError);
}
