#include "qt/Codepage.h"

#include <QList>

#include "rtl/CodePage.h"

namespace vcl::qt {

char16_t AnsiToUnicode(unsigned char Byte) {
    return static_cast<char16_t>(vcl::AnsiCharToUnicode(Byte));
}

bool UnicodeToAnsi(char32_t Code, unsigned char& Byte) {
    char c = 0;
    if (!vcl::UnicodeToAnsiChar(Code, c)) return false;
    Byte = static_cast<unsigned char>(c);
    return true;
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
    // By code point, so a character outside the BMP becomes one '?', not two.
    for (char32_t code : S.toUcs4()) {
        unsigned char b;
        result.push_back(UnicodeToAnsi(code, b) ? static_cast<char>(b) : '?');
    }
    return result;
}

} // namespace vcl::qt
