#include "qt/Themes.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

#include "qt/Convert.h"
#include "qt/Painting.h"

namespace vcl::qt {

namespace {

QColor Resolved(vcl::TColor Color, const QColor& Fallback) {
    const QColor c = Color == vcl::clDefault ? QColor() : ToQColor(Color);
    return c.isValid() ? c : Fallback;
}

// A caption in the button's own colour is plain; one in the look's mark colour belongs to a
// modifier that is on.
bool IsOn(const SpeedButtonFace& f, const vcl::TLook& look) {
    return look.Mark != vcl::clNone && f.TextColor.isValid() && f.TextColor == ToQColor(look.Mark);
}

void PaintNative(QPainter& p, const QRect& rect, const SpeedButtonFace& f, bool on,
                 const vcl::TLook& look, const QPalette& application) {
    // Colours the program set replace the palette's; the style draws with the rest.
    QPalette pal = application;
    const vcl::TThemeColors& c = look.Colors;
    pal.setColor(QPalette::Button, Resolved(c.Face, pal.color(QPalette::Button)));
    pal.setColor(QPalette::ButtonText, Resolved(c.Text, pal.color(QPalette::ButtonText)));
    pal.setColor(QPalette::Highlight, Resolved(c.Accent, pal.color(QPalette::Highlight)));
    QStyle* style = QApplication::style();
    QStyleOptionButton opt;
    opt.rect = rect;
    opt.palette = pal;
    opt.state = f.Down ? QStyle::State_Sunken : QStyle::State_Raised;
    if (f.Enabled) opt.state |= QStyle::State_Enabled;
    if (on) opt.state |= QStyle::State_On;
    if (f.Hot && f.Enabled) opt.state |= QStyle::State_MouseOver;
    if (f.Flat) opt.features |= QStyleOptionButton::Flat;
    style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, nullptr);
    const QColor text = on ? pal.color(QPalette::Highlight) : pal.color(QPalette::ButtonText);
    const bool shift = f.Down && style->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt) > 0;
    PaintButtonContent(p, rect, f, pal, text, shift);
}

void PaintFlat(QPainter& p, const QRect& rect, const SpeedButtonFace& f, bool on,
               const vcl::TLook& look, const QPalette& pal) {
    const vcl::TThemeColors c = vcl::ResolvedColors(look);
    const QColor background = ToQColor(c.Background);
    const QColor face = ToQColor(f.Down ? c.DownFace : c.Face);
    QColor text = ToQColor(f.Down ? c.DownText : (on ? c.Accent : c.Text));
    {
        const DevicePixels device(p, rect);
        p.fillRect(device.Rect(), background);
        // Keys stand apart by a gap of the background, the same on every side of every key.
        const int side = std::min(rect.width(), rect.height());
        const int gap = device.Pixels(side >= 24 ? 2 : 1);
        const int edge = device.Pixels(look.Theme == vcl::thHighContrast ? 2 : 1);
        const QRectF key = QRectF(device.Rect()).adjusted(gap, gap, -gap, -gap);
        const qreal radius = std::min<qreal>(side / 8.0, 6) * device.Scale();
        if (key.width() > 2 * edge && key.height() > 2 * edge) {
            p.save();
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(ToQColor(on && look.Theme == vcl::thHighContrast ? c.Accent : c.Edge));
            p.drawRoundedRect(key, radius, radius);
            p.setBrush(face);
            p.drawRoundedRect(key.adjusted(edge, edge, -edge, -edge),
                              std::max<qreal>(0, radius - edge), std::max<qreal>(0, radius - edge));
            p.restore();
        }
    }
    QPalette disabled = pal;
    if (!f.Enabled) {
        // Disabled captions fade into the face instead of the classic emboss.
        text.setAlphaF(0.45);
        disabled.setColor(QPalette::Light, Qt::transparent);
        disabled.setColor(QPalette::Dark, text);
    }
    PaintButtonContent(p, rect, f, disabled, text, false);
}

} // namespace

void PaintThemedButton(QPainter& p, const QRect& rect, const SpeedButtonFace& f,
                       const vcl::TLook& look, const QPalette& pal) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    const bool on = IsOn(f, look);
    if (look.Theme == vcl::thNative)
        PaintNative(p, rect, f, on, look, pal);
    else
        PaintFlat(p, rect, f, on, look, pal);
    p.restore();
}

QColor ThemeBackground(const vcl::TLook& look, const QPalette& pal) {
    if (look.Theme == vcl::thNative)
        return Resolved(look.Colors.Background, pal.color(QPalette::Window));
    return ToQColor(vcl::ResolvedColors(look).Background);
}

QPalette ThemeMarkPalette(const vcl::TLook& look, const QPalette& pal) {
    QPalette marks = pal;
    const vcl::TColor accent = vcl::ResolvedColors(look).Accent;
    marks.setColor(QPalette::Highlight, Resolved(accent, pal.color(QPalette::Highlight)));
    return marks;
}

} // namespace vcl::qt
