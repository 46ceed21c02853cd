#pragma once
// Windows-1252 <-> Unicode at the widgetset boundary. The model keeps every string as
// Windows-1252 bytes; Qt wants UTF-16. The mapping is a bijection on all 256 byte values: the
// five bytes that Windows-1252 leaves undefined stand for the C1 controls of the same value.

#include <QChar>
#include <QString>

#include "rtl/SysUtils.h"

namespace vcl::qt {

// The Unicode character a Windows-1252 byte stands for.
char16_t AnsiToUnicode(unsigned char Byte);
// The byte for a Unicode character, or false when Windows-1252 has none for it.
bool UnicodeToAnsi(char32_t Code, unsigned char& Byte);

QString ToQString(const vcl::AnsiString& S);
// Characters that Windows-1252 cannot hold become '?', as the classic conversion does.
vcl::AnsiString FromQString(const QString& S);

} // namespace vcl::qt
