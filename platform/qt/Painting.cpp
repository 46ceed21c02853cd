#include "qt/Painting.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "qt/CaptionCache.h"
#include "qt/Codepage.h"
#include "qt/Convert.h"
#include "qt/PictureCache.h"
#include "qt/Symbols.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

namespace vcl::qt {

DevicePixels::DevicePixels(QPainter& p, const QRect& r) : painter_(p), rect_(r) {
    // The scale from the painter's coordinates to the pixels it paints: the device pixel ratio
    // of a screen, or of the image a widget is rendered into.
    const QTransform device = p.deviceTransform();
    if (device.type() > QTransform::TxScale || device.m11() != device.m22()) return;
    const qreal dpr = device.m11();
    if (dpr == std::floor(dpr)) return;
    const QRectF mapped = device.mapRect(QRectF(r));
    rect_ = QRect(QPoint(qRound(mapped.left()), qRound(mapped.top())),
                  QPoint(qRound(mapped.right()) - 1, qRound(mapped.bottom()) - 1));
    scale_ = dpr;
    active_ = true;
    p.save();
    p.setWorldTransform(device.inverted() * p.worldTransform());
    p.setClipRect(rect_);
}

DevicePixels::~DevicePixels() {
    if (active_) painter_.restore();
}

int DevicePixels::Pixels(qreal length) const {
    return std::max(1, qRound(length * scale_));
}

void Frame3D(QPainter& p, QRect& r, const QColor& topLeft, const QColor& bottomRight, int width) {
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        const int l = r.left(), t = r.top(), rr = r.right(), b = r.bottom();
        p.fillRect(QRect(l, t, r.width() - 1, 1), topLeft);
        p.fillRect(QRect(l, t, 1, r.height() - 1), topLeft);
        p.fillRect(QRect(l, b, r.width(), 1), bottomRight);
        p.fillRect(QRect(rr, t, 1, r.height()), bottomRight);
        r.adjust(1, 1, -1, -1);
    }
}

QImage TransparentGlyph(const QImage& Glyph) {
    if (Glyph.isNull()) return Glyph;
    QImage img = Glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = img.pixel(0, img.height() - 1) | 0xFF000000u;
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
    return img;
}

namespace {

// The image of the glyph strip for the button's state; a strip without a disabled image gets a
// grey embossed version of the up image, so a disabled button always looks disabled.
QImage GlyphForState(const SpeedButtonFace& f) {
    if (f.Glyph.isNull()) return QImage();
    const int n = f.NumGlyphs < 1 ? 1 : (f.NumGlyphs > 4 ? 4 : f.NumGlyphs);
    const int w = f.Glyph.width() / n;
    if (w <= 0) return QImage();
    int index = 0;
    if (!f.Enabled && n > 1)
        index = 1;
    else if (f.Down && n > 3)
        index = 3;
    else if (f.Down && n > 2)
        index = 2;
    QImage img = TransparentGlyph(f.Glyph.copy(index * w, 0, w, f.Glyph.height()));
    if (!f.Enabled && n == 1) {
        for (int y = 0; y < img.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                if (qAlpha(line[x]) == 0) continue;
                // Dark pixels keep a shape in grey, light ones vanish into the face.
                line[x] = qGray(line[x]) < 192 ? qRgb(128, 128, 128) : 0;
            }
        }
    }
    return img;
}

} // namespace

void PaintButtonContent(QPainter& p, const QRect& rect, const SpeedButtonFace& f,
                        const QPalette& pal, const QColor& Text, bool ShiftDown) {
    const QImage glyph = GlyphForState(f);
    p.setFont(f.Font);
    const CaptionLayout* caption = f.Caption.isEmpty() ? nullptr : &CaptionLayoutOf(p, f.Caption);
    const QSize textSize = caption ? caption->Size() : QSize(0, 0);
    const QSize glyphSize = glyph.isNull() ? QSize(0, 0) : glyph.size();

    // Glyph and caption are placed as one block along the layout direction, centred in the
    // whole button (not the area inside the frame) so a narrow key keeps its caption centred.
    const QRect client = rect;
    const bool horizontal = f.Layout == GlyphLayout::Left || f.Layout == GlyphLayout::Right;
    const int spacing = (glyph.isNull() || f.Caption.isEmpty()) ? 0 : f.Spacing;
    const int along = horizontal ? client.width() : client.height();
    const int glyphLen = horizontal ? glyphSize.width() : glyphSize.height();
    const int textLen = horizontal ? textSize.width() : textSize.height();
    int margin = f.Margin;
    if (margin < 0) margin = (along - (glyphLen + spacing + textLen) + 1) / 2;

    QPoint glyphPos, textPos;
    const int glyphCross = horizontal ? (client.height() - glyphSize.height() + 1) / 2
                                      : (client.width() - glyphSize.width() + 1) / 2;
    const int textCross = horizontal ? (client.height() - textSize.height() + 1) / 2
                                     : (client.width() - textSize.width() + 1) / 2;
    switch (f.Layout) {
    case GlyphLayout::Left:
        glyphPos = QPoint(margin, glyphCross);
        textPos = QPoint(margin + glyphLen + spacing, textCross);
        break;
    case GlyphLayout::Right:
        glyphPos = QPoint(along - margin - glyphLen, glyphCross);
        textPos = QPoint(along - margin - glyphLen - spacing - textLen, textCross);
        break;
    case GlyphLayout::Top:
        glyphPos = QPoint(glyphCross, margin);
        textPos = QPoint(textCross, margin + glyphLen + spacing);
        break;
    case GlyphLayout::Bottom:
        glyphPos = QPoint(glyphCross, along - margin - glyphLen);
        textPos = QPoint(textCross, along - margin - glyphLen - spacing - textLen);
        break;
    }
    const QPoint offset = client.topLeft() + (ShiftDown ? QPoint(1, 1) : QPoint(0, 0));
    if (!glyph.isNull()) p.drawImage(glyphPos + offset, glyph);
    if (caption) {
        const QRect textRect(textPos + offset, textSize);
        if (f.Enabled) {
            p.setPen(Text);
            caption->DrawCentred(p, textRect);
        } else {
            p.setPen(pal.color(QPalette::Light));
            caption->DrawCentred(p, textRect.translated(1, 1));
            p.setPen(pal.color(QPalette::Dark));
            caption->DrawCentred(p, textRect);
        }
    }
}

void PaintSpeedButton(QPainter& p, const QRect& rect, const SpeedButtonFace& f,
                      const QPalette& pal) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    p.save();
    p.setClipRect(rect);
    {
        const DevicePixels device(p, rect);
        const QColor face = f.FaceColor.isValid() ? f.FaceColor : pal.color(QPalette::Button);
        const int line = device.Pixels(1);
        const auto paint = [&](QPainter& q, QRect r) {
            q.fillRect(r, face);
            if (!f.Flat) {
                if (f.Down) {
                    Frame3D(q, r, pal.color(QPalette::Dark), pal.color(QPalette::Light), line);
                    Frame3D(q, r, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight), line);
                } else {
                    Frame3D(q, r, pal.color(QPalette::Light), pal.color(QPalette::Shadow), line);
                    Frame3D(q, r, pal.color(QPalette::Midlight), pal.color(QPalette::Dark), line);
                }
            } else if (f.Down) {
                Frame3D(q, r, pal.color(QPalette::Dark), pal.color(QPalette::Light), line);
            } else if (f.Hot && f.Enabled) {
                Frame3D(q, r, pal.color(QPalette::Light), pal.color(QPalette::Dark), line);
            }
        };
        // Opaque faces and bevels of one size and look are drawn once and copied.
        const QColor colours[] = {face, pal.color(QPalette::Light), pal.color(QPalette::Midlight),
                                  pal.color(QPalette::Dark), pal.color(QPalette::Shadow)};
        const bool opaque = std::all_of(std::begin(colours), std::end(colours),
                                        [](const QColor& c) { return c.alpha() == 255; });
        const PictureKey key{
            colours[0].rgb(),
            colours[1].rgb(),
            colours[2].rgb(),
            colours[3].rgb(),
            colours[4].rgb(),
            (f.Flat ? 1u : 0u) | (f.Down ? 2u : 0u) | (f.Hot && f.Enabled ? 4u : 0u),
            static_cast<quint32>(line)};
        if (device.Active() || !opaque || !DrawCopy(p, device.Rect(), key, paint))
            paint(p, device.Rect());
    }

    PaintButtonContent(p, rect, f, pal,
                       f.TextColor.isValid() ? f.TextColor : pal.color(QPalette::ButtonText),
                       f.Down);
    p.restore();
}

void PaintAssistMark(QPainter& p, const QRect& rect, const vcl::TAssistMark& mark,
                     const QPalette& pal) {
    p.save();
    p.setClipRect(rect, Qt::IntersectClip);
    const QColor accent = pal.color(QPalette::Highlight);
    // Thick enough to be seen from across a room, inside the key so neighbours stay apart.
    const int width = std::max(2, std::min(rect.width(), rect.height()) / 10);
    if (mark.Selected) {
        QPen pen(accent, width);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    }
    if (mark.Progress > 0) {
        const int bar = std::max(3, rect.height() / 8);
        const int filled = rect.width() * std::min(mark.Progress, 100) / 100;
        p.fillRect(QRect(rect.left(), rect.bottom() + 1 - bar, filled, bar), accent);
    }
    p.restore();
}

SpeedButtonFace FaceOf(const vcl::TSpeedButton* b) {
    SpeedButtonFace f;
    const vcl::TFont* font = b->GetFont();
    f.Caption = DisplayText(font->GetName(), b->GetCaption());
    f.Font = ToQFont(font);
    f.TextColor = ToQColor(font->GetColor());
    f.Glyph = ToQImage(b->GetGlyph());
    f.NumGlyphs = b->GetNumGlyphs();
    f.Layout = static_cast<GlyphLayout>(b->GetLayout());
    f.Margin = b->GetMargin();
    f.Spacing = b->GetSpacing();
    const vcl::TButtonState state = b->GetState();
    f.Down = state == vcl::bsDown || state == vcl::bsExclusive;
    f.Enabled = state != vcl::bsDisabled && b->IsEnabledInParents();
    f.Flat = b->GetFlat();
    f.Hot = b->MouseInControl();
    return f;
}

void PaintShape(QPainter& p, const QRect& bounds, const vcl::TShape* s) {
    const vcl::TPen* pen = s->GetPen();
    const vcl::TBrush* brush = s->GetBrush();
    int pw = pen->GetStyle() == vcl::psClear ? 0 : pen->GetWidth();
    if (pw < 0) pw = 0;
    // The classic geometry: the outline is centred on the rectangle inset by half the pen.
    int x = pw / 2, y = pw / 2;
    int w = bounds.width() - pw + 1, h = bounds.height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    const vcl::TShapeType type = s->GetShape();
    if (type == vcl::stSquare || type == vcl::stRoundSquare || type == vcl::stCircle) {
        if (w < h) {
            y += (h - w) / 2;
            h = w;
        } else {
            x += (w - h) / 2;
            w = h;
        }
    }
    if (w <= 0 || h <= 0) return;
    const QRect outer(bounds.left() + x - pw / 2, bounds.top() + y - pw / 2, w + pw - 1,
                      h + pw - 1);
    const QColor penColor = ToQColor(pen->GetColor());
    const QColor brushColor = ToQColor(brush->GetColor());
    const bool fill = brush->GetStyle() != vcl::bsClear && brushColor.isValid();
    const bool rectangular = type == vcl::stRectangle || type == vcl::stSquare;
    if (rectangular &&
        (pen->GetStyle() == vcl::psSolid || pen->GetStyle() == vcl::psInsideFrame || pw == 0)) {
        // Pixel-exact and fast: a layout grid is hundreds of these.
        if (fill) p.fillRect(outer.adjusted(pw, pw, -pw, -pw), brushColor);
        if (pw > 0 && penColor.isValid()) {
            p.fillRect(QRect(outer.left(), outer.top(), outer.width(), pw), penColor);
            p.fillRect(QRect(outer.left(), outer.bottom() - pw + 1, outer.width(), pw), penColor);
            p.fillRect(QRect(outer.left(), outer.top(), pw, outer.height()), penColor);
            p.fillRect(QRect(outer.right() - pw + 1, outer.top(), pw, outer.height()), penColor);
        }
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, !rectangular);
    if (pw > 0 && penColor.isValid()) {
        QPen qp(penColor, pw);
        switch (pen->GetStyle()) {
        case vcl::psDash:
            qp.setStyle(Qt::DashLine);
            break;
        case vcl::psDot:
            qp.setStyle(Qt::DotLine);
            break;
        case vcl::psDashDot:
            qp.setStyle(Qt::DashDotLine);
            break;
        case vcl::psDashDotDot:
            qp.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
        }
        p.setPen(qp);
    } else {
        p.setPen(Qt::NoPen);
    }
    p.setBrush(fill ? QBrush(brushColor) : QBrush(Qt::NoBrush));
    const QRectF shape = QRectF(outer).adjusted(pw / 2.0, pw / 2.0, -pw / 2.0, -pw / 2.0);
    if (type == vcl::stEllipse || type == vcl::stCircle)
        p.drawEllipse(shape);
    else if (type == vcl::stRoundRect || type == vcl::stRoundSquare) {
        const qreal r = std::min(w, h) / 4.0;
        p.drawRoundedRect(shape, r, r);
    } else
        p.drawRect(shape);
}

void PaintLabel(QPainter& p, const QRect& r, const vcl::TCustomLabel* l, const QPalette& pal) {
    if (!l->GetTransparent()) {
        const QColor bg = ToQColor(l->GetColor());
        if (bg.isValid()) p.fillRect(r, bg);
    }
    const vcl::TFont* font = l->GetFont();
    QString text = DisplayText(font->GetName(), l->GetCaption());
    int flags = ToQtAlignment(l->GetAlignment());
    switch (l->GetLayout()) {
    case vcl::tlTop:
        flags |= Qt::AlignTop;
        break;
    case vcl::tlCenter:
        flags |= Qt::AlignVCenter;
        break;
    case vcl::tlBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    flags |= l->GetWordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    // "&x" underlines x (the label's accelerator) and "&&" shows "&".
    flags |= l->GetShowAccelChar() ? Qt::TextShowMnemonic : 0;
    p.setFont(ToQFont(font));
    if (l->IsEnabledInParents()) {
        const QColor c = ToQColor(font->GetColor());
        p.setPen(c.isValid() ? c : pal.color(QPalette::WindowText));
        p.drawText(r, flags, text);
    } else {
        p.setPen(pal.color(QPalette::Light));
        p.drawText(r.translated(1, 1), flags, text);
        p.setPen(pal.color(QPalette::Dark));
        p.drawText(r, flags, text);
    }
}

void PaintGroupFrame(QPainter& p, const vcl::TWinControl* c, const QRect& all,
                     const QPalette& pal) {
    const QFont font = ToQFont(c->GetFont());
    const QFontMetrics fm(font);
    const int h = fm.height();
    QRect r(0, h / 2 - 1, all.width(), all.height() - (h / 2 - 1));
    QRect light = r.adjusted(1, 1, 0, 0);
    p.setPen(pal.color(QPalette::Light));
    p.drawRect(light.adjusted(0, 0, -1, -1));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(r.adjusted(0, 0, -2, -2));
    const QString caption = DisplayText(c->GetFont()->GetName(), c->GetText());
    if (caption.isEmpty()) return;
    const QRect tr(8, 0, fm.horizontalAdvance(caption), h);
    p.fillRect(tr, ToQColor(c->GetColor()));
    p.setFont(font);
    const QColor fc = ToQColor(c->GetFont()->GetColor());
    p.setPen(c->IsEnabledInParents() ? (fc.isValid() ? fc : pal.color(QPalette::WindowText))
                                     : pal.color(QPalette::Dark));
    p.drawText(tr, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
               caption);
}

void PaintPanel(QPainter& p, const vcl::TCustomPanel* panel, const QRect& all,
                const QPalette& pal) {
    QRect r = all;
    if (panel->GetBorderStyle() == vcl::bsSingle) {
        if (panel->GetCtl3D()) {
            Frame3D(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light), 1);
            Frame3D(p, r, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight), 1);
        } else {
            Frame3D(p, r, pal.color(QPalette::Shadow), pal.color(QPalette::Shadow), 1);
        }
    }
    const QColor face = ToQColor(panel->GetColor());
    auto bevel = [&](vcl::TBevelCut cut) {
        if (cut == vcl::bvNone) return;
        QColor tl = pal.color(QPalette::Light), br = pal.color(QPalette::Dark);
        if (cut == vcl::bvLowered) std::swap(tl, br);
        if (cut == vcl::bvSpace) tl = br = face;
        Frame3D(p, r, tl, br, panel->GetBevelWidth());
    };
    bevel(panel->GetBevelOuter());
    Frame3D(p, r, face, face, panel->GetBorderWidth());
    bevel(panel->GetBevelInner());
    const QString caption = DisplayText(panel->GetFont()->GetName(), panel->GetText());
    if (caption.isEmpty()) return;
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | ToQtAlignment(panel->GetAlignment());
    p.setFont(ToQFont(panel->GetFont()));
    const QColor fc = ToQColor(panel->GetFont()->GetColor());
    p.setPen(panel->IsEnabledInParents() ? (fc.isValid() ? fc : pal.color(QPalette::WindowText))
                                         : pal.color(QPalette::Dark));
    p.drawText(r, flags, caption);
}

} // namespace vcl::qt
