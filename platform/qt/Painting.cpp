#include "qt/Painting.h"

#include <QFontMetrics>
#include <QPainter>

namespace vcl::qt {

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
// grey embossed version of the up image, as the classic button draws it.
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

void PaintSpeedButton(QPainter& p, const QRect& rect, const SpeedButtonFace& f,
                      const QPalette& pal) {
    if (rect.width() <= 0 || rect.height() <= 0) return;
    p.save();
    p.setClipRect(rect);
    const QColor face = f.FaceColor.isValid() ? f.FaceColor : pal.color(QPalette::Button);
    p.fillRect(rect, face);

    QRect r = rect;
    if (!f.Flat) {
        if (f.Down) {
            Frame3D(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light), 1);
            Frame3D(p, r, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight), 1);
        } else {
            Frame3D(p, r, pal.color(QPalette::Light), pal.color(QPalette::Shadow), 1);
            Frame3D(p, r, pal.color(QPalette::Midlight), pal.color(QPalette::Dark), 1);
        }
    } else if (f.Down) {
        Frame3D(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light), 1);
    } else if (f.Hot && f.Enabled) {
        Frame3D(p, r, pal.color(QPalette::Light), pal.color(QPalette::Dark), 1);
    }

    const QImage glyph = GlyphForState(f);
    p.setFont(f.Font);
    const QFontMetrics fm(f.Font);
    const QSize textSize =
        f.Caption.isEmpty() ? QSize(0, 0) : fm.size(Qt::TextSingleLine, f.Caption);
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
    const QPoint offset = client.topLeft() + (f.Down ? QPoint(1, 1) : QPoint(0, 0));
    if (!glyph.isNull()) p.drawImage(glyphPos + offset, glyph);
    if (!f.Caption.isEmpty()) {
        const QRect textRect(textPos + offset, textSize);
        const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;
        if (f.Enabled) {
            p.setPen(f.TextColor.isValid() ? f.TextColor : pal.color(QPalette::ButtonText));
            p.drawText(textRect, flags, f.Caption);
        } else {
            p.setPen(pal.color(QPalette::Light));
            p.drawText(textRect.translated(1, 1), flags, f.Caption);
            p.setPen(pal.color(QPalette::Dark));
            p.drawText(textRect, flags, f.Caption);
        }
    }
    p.restore();
}

} // namespace vcl::qt
