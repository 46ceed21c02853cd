#include "qt/Codepage.h"

#include <QList>
#include <QToolTip>
#include <QWidget>

#include "rtl/CodePage.h"

namespace vcl::qt {

char16_t AnsiToUnicode(unsigned char Byte) {
    return static_cast<char16_t>(vcl::AnsiCharToUnicode(Byte));
}

bool UnicodeToAnsi(char32_t Code, unsigned char& Byte) {
    vcl::AnsiString s;
    if (!vcl::AppendAnsiChar(s, Code) || s.size() != 1) return false;
    Byte = static_cast<unsigned char>(s[0]);
    return true;
}

QString ToQString(const vcl::AnsiString& S) {
    const std::u16string u = vcl::AnsiToUtf16(S);
    return QString(reinterpret_cast<const QChar*>(u.data()), static_cast<qsizetype>(u.size()));
}

vcl::AnsiString FromQString(const QString& S) {
    return vcl::Utf16ToAnsi(std::u16string(reinterpret_cast<const char16_t*>(S.utf16()),
                                           static_cast<size_t>(S.size())));
}

vcl::AnsiString FromQStringStrict(const QString& S) {
    const QList<uint> ucs4 = S.toUcs4();
    return vcl::UnicodeToAnsiStrict(std::u32string(ucs4.begin(), ucs4.end()));
}

bool TypedTextToAnsi(QWidget* Widget, const QString& Text, vcl::AnsiString& Out) {
    try {
        Out = FromQStringStrict(Text);
        return true;
    } catch (const vcl::EConvertError& e) {
        QToolTip::showText(Widget->mapToGlobal(QPoint(0, Widget->height())), ToQString(e.Message()),
                           Widget);
        return false;
    }
}

} // namespace vcl::qt
