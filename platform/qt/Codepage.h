#pragma once
// The active ANSI code page <-> Unicode at the widgetset boundary. The model keeps every string
// as bytes of the active code page (rtl/CodePage.h); Qt wants UTF-16. Every byte has a character
// of its own, so bytes -> QString -> bytes is lossless.

#include <QChar>
#include <QString>

class QWidget;

#include "rtl/SysUtils.h"

namespace vcl::qt {

// The Unicode character a byte stands for in the active code page.
char16_t AnsiToUnicode(unsigned char Byte);
// The byte for a Unicode character, or false when the active code page has no single byte for it.
bool UnicodeToAnsi(char32_t Code, unsigned char& Byte);

QString ToQString(const vcl::AnsiString& S);
// Characters that the active code page cannot hold become '?', so reading text never fails.
vcl::AnsiString FromQString(const QString& S);
// Text a user typed or pasted: a character the active code page cannot hold raises EConvertError
// naming the character and the code page.
vcl::AnsiString FromQStringStrict(const QString& S);
// What a user typed or pasted into Widget, converted into Out. When the active code page cannot
// hold a character, the error (naming the character and the code page) appears as a tool tip
// under the widget, Out is unchanged and the result is false: the widget should take back the
// edit rather than keep text the model cannot store.
bool TypedTextToAnsi(QWidget* Widget, const QString& Text, vcl::AnsiString& Out);

} // namespace vcl::qt
