#pragma once
// Conversions between the model's values (graphics, alignment, modifier keys) and Qt's.

#include <QColor>
#include <QFont>
#include <QImage>

#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Graphics.h"

namespace vcl::qt {

// A font at the pixel height the model gives it (its size in points at 96 pixels per inch), so
// text keeps fitting forms laid out in pixels on any screen; missing faces are substituted.
QFont ToQFont(const vcl::TFont* Font);
// System colours come from the application's palette; clNone and clDefault are invalid.
QColor ToQColor(vcl::TColor Color);
QImage ToQImage(const vcl::TBitmap* Bitmap);
// Inverse of ToQColor for plain colours (0x00BBGGRR).
vcl::TColor FromQColor(const QColor& Color);
// The horizontal Qt::Alignment flag of a text alignment.
int ToQtAlignment(vcl::TAlignment Alignment);
// Shift, Ctrl and Alt, and the mouse buttons held.
vcl::TShiftState ToShiftState(Qt::KeyboardModifiers Modifiers,
                              Qt::MouseButtons Buttons = Qt::NoButton);

} // namespace vcl::qt
