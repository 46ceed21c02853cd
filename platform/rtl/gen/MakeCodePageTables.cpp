// Writes the tables of the single-byte Windows code pages as C++ source, taken from the iconv of
// the C library that builds the project, so that no table is typed in by hand.
//
// For each page: the Unicode character of each of the 256 bytes, and the characters the page can
// only hold as a base letter followed by a combining mark (Hebrew points, Vietnamese tones). A
// byte the page leaves undefined keeps a code point of its own, so that every byte survives a
// round trip through Unicode: from 0x80 to 0x9F the C1 control of the same value, above that the
// private-use character U+F700 plus the byte. The program fails when iconv lacks a page or when
// two bytes would share a character.

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Page {
    int CodePage;
    const char* IconvName;
};

constexpr Page kPages[] = {{874, "CP874"},   {1250, "CP1250"}, {1251, "CP1251"}, {1252, "CP1252"},
                           {1253, "CP1253"}, {1254, "CP1254"}, {1255, "CP1255"}, {1256, "CP1256"},
                           {1257, "CP1257"}, {1258, "CP1258"}};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "MakeCodePageTables: %s\n", message.c_str());
    std::exit(1);
}

// Converts In completely (flushing any state), or returns false when iconv rejects it.
bool convert(iconv_t cd, const std::string& In, std::string& Out) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buf[64];
    char* in = const_cast<char*>(In.data());
    size_t inLeft = In.size();
    char* out = buf;
    size_t outLeft = sizeof buf;
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) return false;
    if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) return false;
    Out.assign(buf, static_cast<size_t>(out - buf));
    return true;
}

std::string utf32(char32_t c) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<size_t>(i)] = static_cast<char>((c >> (8 * i)) & 0xFF);
    return s;
}

char32_t fromUtf32(const std::string& s) {
    char32_t c = 0;
    for (int i = 3; i >= 0; --i)
        c = (c << 8) | static_cast<unsigned char>(s[static_cast<size_t>(i)]);
    return c;
}

iconv_t open(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        fail(std::string("iconv cannot convert from ") + from + " to " + to);
    return cd;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) fail("usage: MakeCodePageTables OUTPUT");
    std::string src =
        "// Generated at build time from the C library's iconv by MakeCodePageTables.\n";
    std::string list;
    for (const Page& page : kPages) {
        iconv_t decode = open("UTF-32LE", page.IconvName);
        iconv_t encode = open(page.IconvName, "UTF-32LE");
        char32_t table[256];
        std::map<char32_t, int> byteOf;
        for (int b = 0; b < 256; ++b) {
            std::string out;
            if (convert(decode, std::string(1, static_cast<char>(b)), out) && out.size() == 4)
                table[b] = fromUtf32(out);
            else
                table[b] = b < 0xA0 ? static_cast<char32_t>(b) : 0xF700 + static_cast<char32_t>(b);
            if (table[b] > 0xFFFF || !byteOf.emplace(table[b], b).second)
                fail(std::string(page.IconvName) + ": byte " + std::to_string(b) +
                     " has no character of its own");
        }
        // Characters held as two bytes: a base letter and a combining mark.
        std::vector<std::string> composed;
        for (char32_t c = 0xA0; c < 0x10000; ++c) {
            if ((c >= 0xD800 && c <= 0xDFFF) || byteOf.count(c)) continue;
            std::string out;
            if (!convert(encode, utf32(c), out) || out.size() != 2) continue;
            char line[64];
            std::snprintf(line, sizeof line, "    {0x%04X, 0x%02X, 0x%02X},\n",
                          static_cast<unsigned>(c), static_cast<unsigned char>(out[0]),
                          static_cast<unsigned char>(out[1]));
            composed.push_back(line);
        }
        iconv_close(decode);
        iconv_close(encode);

        const std::string id = std::to_string(page.CodePage);
        src += "\nconstexpr char16_t kCp" + id + "[256] = {";
        for (int b = 0; b < 256; ++b) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%s0x%04X,", b % 8 ? " " : "\n    ",
                          static_cast<unsigned>(table[b]));
            src += hex;
        }
        src += "\n};\n";
        std::string composedName = "nullptr";
        if (!composed.empty()) {
            composedName = "kCp" + id + "Composed";
            src += "\nconstexpr TComposedChar " + composedName + "[] = {\n";
            for (const std::string& line : composed)
                src += line;
            src += "};\n";
        }
        list += "    {" + id + ", kCp" + id + ", " + composedName + ", " +
                std::to_string(composed.size()) + "},\n";
    }
    src += "\nconstexpr TCodePageData kCodePageData[] = {\n" + list + "};\n";
    std::ofstream(argv[1], std::ios::binary) << src;
    return 0;
}
