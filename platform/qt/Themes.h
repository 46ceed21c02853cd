#pragma once
// Buttons in a theme (vcl/Looks.h) other than the classic one: the native theme draws them as
// push buttons of the application's QStyle, the light, dark and high-contrast themes as flat
// rounded keys in the theme's colours. The classic look is Painting.h's.

#include <QColor>
#include <QPalette>
#include <QRect>

#include "vcl/Looks.h"

class QPainter;

namespace vcl::qt {

struct SpeedButtonFace;

// Whether Look asks for something other than the classic look.
inline bool IsThemed(const vcl::TLook* Look) {
    return Look && Look->Theme != vcl::thClassic;
}
// A button of a container drawn in Look (a theme other than the classic one).
void PaintThemedButton(QPainter& Painter, const QRect& Rect, const SpeedButtonFace& Face,
                       const vcl::TLook& Look, const QPalette& Palette);
// What the container shows behind its buttons.
QColor ThemeBackground(const vcl::TLook& Look, const QPalette& Palette);
// Palette with the theme's accent as the highlight, for the marks drawn over the buttons.
QPalette ThemeMarkPalette(const vcl::TLook& Look, const QPalette& Palette);
// Whether the container's own border and bevels show in the theme (only in the native one).
inline bool ThemeShowsFrame(const vcl::TLook& Look) {
    return Look.Theme == vcl::thNative;
}

} // namespace vcl::qt
