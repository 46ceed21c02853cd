#pragma once
// Font substitution. Forms and layouts name the faces of the classic desktop ("MS Sans Serif",
// "Wingdings", "Courier New"); where the machine lacks a face it is shown in an installed face
// of the same kind (sans-serif, serif or fixed pitch) at the same point size, one that covers the
// script of the active ANSI code page (Cyrillic, Greek, Hebrew, Arabic, Thai, Vietnamese) where
// an installed one does.

#include <QFont>
#include <QString>

#include "rtl/SysUtils.h"

namespace vcl::qt {

// The installed family that shows the given face: the face itself when present, otherwise a
// close face of the same kind.
QString SubstituteFamily(const vcl::AnsiString& Face);

struct FontStyle {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

// A Qt font for a classic font description; PointSize <= 0 falls back to 8 points.
QFont MakeFont(const vcl::AnsiString& Face, int PointSize, FontStyle Style = {});

} // namespace vcl::qt
