#pragma once
// Symbol fonts. Captions set in "Wingdings" hold byte codes whose meaning is the glyph the
// symbol font draws there (0xE0 is a right arrow, not "à"). The machines Qt runs on rarely have
// that font, so its bytes are shown as the Unicode symbols that look the same.

#include <QString>

#include "rtl/SysUtils.h"

namespace vcl::qt {

// True for the symbol faces whose bytes are translated rather than shown in the ANSI code page.
bool IsSymbolFont(const vcl::AnsiString& FaceName);
// The Unicode symbol for one Wingdings byte, or 0 when there is no close match.
char32_t WingdingsToUnicode(unsigned char Byte);
// The text to show for a caption set in the given face: symbol bytes become their Unicode
// symbols (bytes without a match stay characters of the active ANSI code page), any other face
// shows the characters of the active code page.
QString DisplayText(const vcl::AnsiString& FaceName, const vcl::AnsiString& Text);
// The inverse of DisplayText, for text a user typed or pasted into a control set in the face:
// shown symbols become their bytes again, everything else Windows-1252.
vcl::AnsiString StoredText(const vcl::AnsiString& FaceName, const QString& Shown);

} // namespace vcl::qt
