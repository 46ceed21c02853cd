#include "qt/Colors.h"

#include <QGuiApplication>

namespace vcl::qt {

namespace {

QColor SystemColor(unsigned index, const QPalette& p) {
    using R = QPalette::ColorRole;
    switch (index) {
    case 0:
        return p.color(R::Mid); // scroll bar
    case 1:
        return p.color(R::Dark); // desktop
    case 2:
        return p.color(R::Highlight); // active caption
    case 3:
        return p.color(QPalette::Inactive, R::Highlight); // inactive caption
    case 4:
        return p.color(R::Window); // menu
    case 5:
        return p.color(R::Base); // window
    case 6:
        return p.color(R::Shadow); // window frame
    case 7:
        return p.color(R::WindowText); // menu text
    case 8:
        return p.color(R::Text); // window text
    case 9:
        return p.color(R::HighlightedText); // caption text
    case 10:
        return p.color(R::Button); // active border
    case 11:
        return p.color(R::Button); // inactive border
    case 12:
        return p.color(R::Dark); // application workspace
    case 13:
        return p.color(R::Highlight);
    case 14:
        return p.color(R::HighlightedText);
    case 15:
        return p.color(R::Button); // button face
    case 16:
        return p.color(R::Dark); // button shadow
    case 17:
        return p.color(QPalette::Disabled, R::Text); // grey text
    case 18:
        return p.color(R::ButtonText);
    case 19:
        return p.color(QPalette::Inactive, R::HighlightedText);
    case 20:
        return p.color(R::Light); // button highlight
    case 21:
        return p.color(R::Shadow); // 3-D dark shadow
    case 22:
        return p.color(R::Midlight); // 3-D light
    case 23:
        return p.color(R::ToolTipText);
    case 24:
        return p.color(R::ToolTipBase);
    case 26:
        return p.color(R::Link); // hot light
    case 27:
        return p.color(R::Highlight);
    case 28:
        return p.color(QPalette::Inactive, R::Highlight);
    case 29:
        return p.color(R::Highlight); // menu highlight
    case 30:
        return p.color(R::Window); // menu bar
    default:
        return p.color(R::Button);
    }
}

} // namespace

QColor ColorToQColor(std::uint32_t Color, const QPalette& Palette) {
    if (Color == 0x1FFFFFFFu || Color == 0x20000000u) return QColor();
    if (Color & 0x80000000u) return SystemColor(Color & 0xFFu, Palette);
    return QColor(static_cast<int>(Color & 0xFF), static_cast<int>((Color >> 8) & 0xFF),
                  static_cast<int>((Color >> 16) & 0xFF));
}

QColor ColorToQColor(std::uint32_t Color) {
    return ColorToQColor(Color, QGuiApplication::palette());
}

} // namespace vcl::qt
