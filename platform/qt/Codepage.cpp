#include "qt/Codepage.h"

#include <QList>

namespace vcl::qt {

namespace {

// 0x80..0x9F; the undefined positions keep their C1 control value so nothing is lost.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char16_t AnsiToUnicode(unsigned char Byte) {
    if (Byte >= 0x80 && Byte <= 0x9F) return kHigh[Byte - 0x80];
    return Byte;
}

bool UnicodeToAnsi(char32_t Code, unsigned char& Byte) {
    if (Code < 0x80 || (Code >= 0xA0 && Code <= 0xFF)) {
        Byte = static_cast<unsigned char>(Code);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == Code) {
            Byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

QString ToQString(const vcl::AnsiString& S) {
    QString result;
    result.reserve(static_cast<qsizetype>(S.size()));
    for (unsigned char c : S)
        result.append(QChar(AnsiToUnicode(c)));
    return result;
}

vcl::AnsiString FromQString(const QString& S) {
    vcl::AnsiString result;
    result.reserve(static_cast<size_t>(S.size()));
    for (char32_t code : S.toUcs4()) {
        unsigned char b;
        result.push_back(UnicodeToAnsi(code, b) ? static_cast<char>(b) : '?');
    }
    return result;
}

} // namespace vcl::qt
