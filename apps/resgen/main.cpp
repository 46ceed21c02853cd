// resgen: writes the binary resources of a package from their readable sources.
//
//   resgen bitmap PICTURE OUT          16-colour device-independent bitmap (no file header)
//   resgen icon PICTURE IMAGE GROUP    16-colour icon image and its one-entry icon group
//   resgen version A.B.C.D LANG CODEPAGE OUT
//                                      version information, text fields empty
//   resgen text16 TEXT OUT             UTF-16LE text of an ASCII TEXT, NUL-terminated
//   resgen package FLAGS OUT [requires NAME...] [contains [FLAGS:]UNIT...]
//                                      package information (format in rtl/Packages.h)
//
// A picture is one text line per pixel row, top row first, one character per pixel: a hex digit
// picks a colour of the standard 16-colour palette; in an icon '.' is transparent. Lines starting
// with '#' are comments. Exit status: 0, 1 with a message on stderr, 2 for bad usage.

#include "ExitStatus.h"
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const char kUsage[] =
    "usage: resgen bitmap PICTURE OUT\n"
    "       resgen icon PICTURE IMAGE GROUP\n"
    "       resgen version A.B.C.D LANG CODEPAGE OUT\n"
    "       resgen text16 TEXT OUT\n"
    "       resgen package FLAGS OUT [requires NAME...] [contains [FLAGS:]UNIT...]\n";

// Black, maroon, green, olive, navy, purple, teal, gray, silver, red, lime, yellow, blue,
// fuchsia, aqua, white, as RGB.
const uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void put16(Bytes& b, uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void set16(Bytes& b, size_t at, uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void align4(Bytes& b) {
    while (b.size() % 4)
        b.push_back(0);
}

void writeFile(const std::string& path, const Bytes& b) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

struct Picture {
    int Width = 0;
    std::vector<std::string> Rows; // top row first
};

Picture readPicture(const std::string& path) {
    std::ifstream f(path);
    if (!f) throw std::runtime_error("cannot read " + path);
    Picture p;
    for (std::string line; std::getline(f, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (p.Rows.empty()) p.Width = static_cast<int>(line.size());
        if (static_cast<int>(line.size()) != p.Width)
            throw std::runtime_error(path + ": rows of different widths");
        for (char c : line)
            if (!std::isxdigit(static_cast<unsigned char>(c)) && c != '.')
                throw std::runtime_error(path + ": invalid pixel '" + std::string(1, c) + "'");
        p.Rows.push_back(line);
    }
    if (p.Rows.empty()) throw std::runtime_error(path + ": no pixels");
    return p;
}

int colourOf(char c) {
    return c == '.' ? 0 : std::stoi(std::string(1, c), nullptr, 16);
}

// BITMAPINFOHEADER of a 4-bit image, the 16-colour palette, then the rows bottom first, each
// padded to 32 bits. An icon image is twice as high: the colour rows, then a 1-bit mask.
Bytes dib(const Picture& p, bool icon) {
    const int height = static_cast<int>(p.Rows.size());
    const int stride = (p.Width * 4 + 31) / 32 * 4;
    const int maskStride = (p.Width + 31) / 32 * 4;
    const int imageSize = stride * height + (icon ? maskStride * height : 0);
    Bytes b;
    put32(b, 40);
    put32(b, p.Width);
    put32(b, icon ? 2 * height : height);
    put16(b, 1); // planes
    put16(b, 4); // bits per pixel
    put32(b, 0); // uncompressed
    put32(b, imageSize);
    put32(b, 0);  // pixels per metre, horizontally
    put32(b, 0);  // and vertically
    put32(b, 16); // colours used
    put32(b, 0);  // all of them important
    for (uint32_t rgb : kPalette) {
        b.push_back(rgb & 0xFF);
        b.push_back((rgb >> 8) & 0xFF);
        b.push_back((rgb >> 16) & 0xFF);
        b.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < p.Width; ++x)
            row[x / 2] |= colourOf(p.Rows[y][x]) << (x % 2 ? 0 : 4);
        b.insert(b.end(), row.begin(), row.end());
    }
    if (icon) {
        for (int y = height - 1; y >= 0; --y) {
            Bytes row(maskStride, 0);
            for (int x = 0; x < p.Width; ++x)
                if (p.Rows[y][x] == '.') row[x / 8] |= 0x80 >> (x % 8);
            b.insert(b.end(), row.begin(), row.end());
        }
    }
    return b;
}

// The icon group directory with one entry, the icon of resource id 1.
Bytes iconGroup(const Picture& p, size_t imageBytes) {
    Bytes b;
    put16(b, 0); // reserved
    put16(b, 1); // icons
    put16(b, 1); // entries
    b.push_back(static_cast<uint8_t>(p.Width));
    b.push_back(static_cast<uint8_t>(p.Rows.size()));
    b.push_back(16); // colours
    b.push_back(0);
    put16(b, 1); // planes
    put16(b, 4); // bits per pixel
    put32(b, static_cast<uint32_t>(imageBytes));
    put16(b, 1); // resource id of the image
    return b;
}

void putText16(Bytes& b, const std::string& s) {
    for (unsigned char c : s)
        put16(b, c);
    put16(b, 0);
}

// One block of the version information: length, value length, type, key, value, children.
struct Block {
    std::string Key;
    Bytes Value;
    uint16_t ValueLength = 0; // in bytes for binary values, in characters for text
    uint16_t Type = 1;        // 1 text, 0 binary
    std::vector<Block> Children;

    Bytes bytes() const {
        Bytes b;
        put16(b, 0);
        put16(b, ValueLength);
        put16(b, Type);
        putText16(b, Key);
        align4(b);
        b.insert(b.end(), Value.begin(), Value.end());
        for (const Block& c : Children) {
            align4(b);
            Bytes cb = c.bytes();
            b.insert(b.end(), cb.begin(), cb.end());
        }
        set16(b, 0, static_cast<uint32_t>(b.size()));
        return b;
    }
};

Block textBlock(const std::string& key, std::vector<Block> children) {
    Block b;
    b.Key = key;
    b.Children = std::move(children);
    return b;
}

Bytes versionInfo(const std::string& version, unsigned lang, unsigned codepage) {
    unsigned v[4];
    char tail;
    if (std::sscanf(version.c_str(), "%u.%u.%u.%u%c", &v[0], &v[1], &v[2], &v[3], &tail) != 4)
        throw std::runtime_error("version must be A.B.C.D: " + version);
    Block root;
    root.Key = "VS_VERSION_INFO";
    root.Type = 0;
    const uint32_t ms = v[0] << 16 | v[1], ls = v[2] << 16 | v[3];
    for (uint32_t x : {0xFEEF04BDu, 0x00010000u, ms, ls, ms, ls, 0x3Fu, 0u, 0u /* any OS */,
                       2u /* a library */, 0u, 0u, 0u})
        put32(root.Value, x);
    root.ValueLength = static_cast<uint16_t>(root.Value.size());

    std::vector<Block> strings;
    for (const char* key :
         {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
          "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments"}) {
        Block s = textBlock(key, {});
        putText16(s.Value, "");
        s.ValueLength = 1;
        strings.push_back(s);
    }
    char table[9];
    std::snprintf(table, sizeof table, "%04X%04X", lang, codepage);
    Block translation;
    translation.Key = "Translation";
    translation.Type = 0;
    put16(translation.Value, lang);
    put16(translation.Value, codepage);
    translation.ValueLength = 4;
    root.Children = {textBlock("StringFileInfo", {textBlock(table, strings)}),
                     textBlock("VarFileInfo", {translation})};
    return root.bytes();
}

Bytes packageInfo(int argc, char** argv) {
    Bytes b;
    put32(b, static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0)));
    std::vector<std::string> required, contains;
    std::vector<std::string>* list = nullptr;
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "requires") == 0)
            list = &required;
        else if (std::strcmp(argv[i], "contains") == 0)
            list = &contains;
        else if (list)
            list->push_back(argv[i]);
        else
            throw std::runtime_error(std::string("unexpected argument ") + argv[i]);
    }
    put32(b, static_cast<uint32_t>(required.size()));
    for (const std::string& r : required)
        b.insert(b.end(), r.c_str(), r.c_str() + r.size() + 1);
    put32(b, static_cast<uint32_t>(contains.size()));
    for (const std::string& c : contains) {
        size_t colon = c.find(':');
        b.push_back(colon == std::string::npos ? 0
                                               : static_cast<uint8_t>(std::strtoul(
                                                     c.substr(0, colon).c_str(), nullptr, 0)));
        std::string unit = colon == std::string::npos ? c : c.substr(colon + 1);
        b.insert(b.end(), unit.c_str(), unit.c_str() + unit.size() + 1);
    }
    return b;
}

} // namespace

int main(int argc, char** argv) {
    const std::string cmd = argc > 1 ? argv[1] : "";
    try {
        if (cmd == "bitmap" && argc == 4) {
            writeFile(argv[3], dib(readPicture(argv[2]), false));
        } else if (cmd == "icon" && argc == 5) {
            Picture p = readPicture(argv[2]);
            Bytes image = dib(p, true);
            writeFile(argv[3], image);
            writeFile(argv[4], iconGroup(p, image.size()));
        } else if (cmd == "version" && argc == 6) {
            writeFile(argv[5], versionInfo(argv[2], std::strtoul(argv[3], nullptr, 16),
                                           std::strtoul(argv[4], nullptr, 10)));
        } else if (cmd == "text16" && argc == 4) {
            Bytes b;
            putText16(b, argv[2]);
            writeFile(argv[3], b);
        } else if (cmd == "package" && argc >= 4) {
            writeFile(argv[3], packageInfo(argc, argv));
        } else {
            std::fputs(kUsage, stderr);
            return quimbel::ExitUsage;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "resgen: %s\n", e.what());
        return quimbel::ExitFailed;
    }
    return quimbel::ExitOk;
}
