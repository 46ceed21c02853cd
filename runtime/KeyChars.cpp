#include "KeyChars.h"

#include "rtl/CodePage.h"

#include <algorithm>
#include <iterator>

namespace quimbel {

namespace {

struct KeyCharBase {
    char32_t Code, Base;
};
struct KeyCharRange {
    char32_t First, Last;
};

#include "KeyCharTable.inc"

// The character paired with Code in a table sorted by code (kCapitals pairs a letter with its
// capital in the place of a base), or Otherwise.
template <size_t N>
char32_t lookUp(const KeyCharBase (&Table)[N], char32_t Code, char32_t Otherwise) {
    auto it = std::lower_bound(std::begin(Table), std::end(Table), Code,
                               [](const KeyCharBase& e, char32_t c) { return e.Code < c; });
    return it != std::end(Table) && it->Code == Code ? it->Base : Otherwise;
}

} // namespace

bool IsLetterChar(char32_t Code) {
    auto it = std::upper_bound(std::begin(kLetterRanges), std::end(kLetterRanges), Code,
                               [](char32_t c, const KeyCharRange& r) { return c < r.First; });
    return it != std::begin(kLetterRanges) && Code <= std::prev(it)->Last;
}

char32_t DecompositionBase(char32_t Code) {
    return lookUp(kDecompositionBases, Code, 0);
}

char32_t CapitalChar(char32_t Code) {
    return lookUp(kCapitals, Code, Code);
}

vcl::AnsiString FindAlternates(const vcl::AnsiString& Value) {
    vcl::AnsiString found;
    if (Value.size() != 1) return found;
    const char32_t base = vcl::AnsiCharToUnicode(static_cast<unsigned char>(Value[0]));
    for (int b = 0; b < 256; ++b)
        if (DecompositionBase(vcl::AnsiCharToUnicode(static_cast<unsigned char>(b))) == base)
            found += static_cast<char>(b);
    return found;
}

} // namespace quimbel
