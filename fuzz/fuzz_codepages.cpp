// Arbitrary bytes through the code-page conversions of every supported page. The first byte
// picks the page, the rest is taken as bytes of that page, as UTF-8, as UTF-16 and as code
// points. Bytes of a page survive every way through Unicode unchanged; a strict conversion either
// raises EConvertError or gives what the lenient one gives; and whatever a conversion produced
// converts back to itself.

#include "rtl/CodePage.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace vcl;

namespace {

void check(bool Condition) {
    if (!Condition) std::abort();
}

// Bytes of the active page: through UTF-8, UTF-16 and one character at a time, unchanged.
void bytesRoundTrip(const AnsiString& Bytes, int Page) {
    const std::string utf8 = AnsiToUtf8(Bytes);
    check(Utf8ToAnsi(utf8) == Bytes);
    check(Utf8ToAnsiStrict(utf8) == Bytes);
    check(Utf16ToAnsi(AnsiToUtf16(Bytes)) == Bytes);
    std::u32string codes;
    for (unsigned char c : Bytes) {
        const char32_t code = AnsiCharToUnicode(c, Page);
        check(code == AnsiCharToUnicode(c));
        AnsiString one;
        check(AppendAnsiChar(one, code, Page) && one == AnsiString(1, static_cast<char>(c)));
        codes.push_back(code);
    }
    check(UnicodeToAnsiStrict(codes) == Bytes);
}

// Decoding moves forward on every sequence, well formed or not, and never past the end.
void decodeAdvances(const std::string& Utf8) {
    size_t pos = 0;
    while (pos < Utf8.size()) {
        const size_t before = pos;
        char32_t code = 0;
        if (DecodeUtf8(Utf8, pos, code)) {
            check(code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF));
            std::string again;
            AppendUtf8(again, code);
            check(again == Utf8.substr(before, pos - before));
        }
        check(pos > before && pos <= Utf8.size());
    }
}

void textConverts(const std::string& Text, int Page) {
    const AnsiString lenient = Utf8ToAnsi(Text);
    bytesRoundTrip(lenient, Page);
    try {
        check(Utf8ToAnsiStrict(Text) == lenient);
    } catch (const EConvertError&) {
    }
    std::u16string utf16;
    for (size_t i = 0; i + 1 < Text.size(); i += 2)
        utf16.push_back(static_cast<char16_t>(static_cast<uint8_t>(Text[i]) |
                                              static_cast<uint8_t>(Text[i + 1]) << 8));
    bytesRoundTrip(Utf16ToAnsi(utf16), Page);
    std::u32string codes;
    for (size_t i = 0; i + 3 < Text.size(); i += 4)
        codes.push_back(static_cast<char32_t>(static_cast<uint8_t>(Text[i]) |
                                              static_cast<uint8_t>(Text[i + 1]) << 8 |
                                              static_cast<uint8_t>(Text[i + 2]) << 16 |
                                              (static_cast<uint8_t>(Text[i + 3]) & 0x1F) << 24));
    try {
        const AnsiString strict = UnicodeToAnsiStrict(codes);
        bytesRoundTrip(strict, Page);
        // Every code point the page took has its UTF-8 form; strict UTF-8 takes it alike.
        std::string utf8;
        for (char32_t c : codes)
            AppendUtf8(utf8, c);
        check(Utf8ToAnsiStrict(utf8) == strict);
    } catch (const EConvertError&) {
    }
    for (char32_t c : codes) {
        AnsiString one;
        if (AppendAnsiChar(one, c, Page)) check(one == UnicodeToAnsiStrict(std::u32string(1, c)));
        else check(one.empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::vector<int>& pages = SupportedCodePages();
    const int page = pages[data[0] % pages.size()];
    SetAnsiCodePage(page);
    check(GetAnsiCodePage() == page && IsSupportedCodePage(page));
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    bytesRoundTrip(rest, page);
    decodeAdvances(rest);
    textConverts(rest, page);
    return 0;
}
