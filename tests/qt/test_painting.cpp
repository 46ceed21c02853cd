#include "qt/Painting.h"

#include "qt/CaptionCache.h"

#include <QPainter>
#include <gtest/gtest.h>

#include "qt/Fonts.h"

using namespace vcl::qt;

namespace {

QPalette TestPalette() {
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(200, 200, 200));
    pal.setColor(QPalette::Light, QColor(255, 255, 255));
    pal.setColor(QPalette::Midlight, QColor(220, 220, 220));
    pal.setColor(QPalette::Dark, QColor(128, 128, 128));
    pal.setColor(QPalette::Shadow, QColor(0, 0, 0));
    pal.setColor(QPalette::ButtonText, QColor(0, 0, 0));
    return pal;
}

QImage Paint(const SpeedButtonFace& face, QSize size = QSize(40, 30)) {
    QImage img(size, QImage::Format_ARGB32);
    img.fill(Qt::magenta);
    QPainter p(&img);
    PaintSpeedButton(p, QRect(QPoint(0, 0), size), face, TestPalette());
    return img;
}

// Bounding box of the pixels of one colour.
QRect Extent(const QImage& img, QRgb colour, QRect within) {
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
    return box;
}

// A caption drawn centred in a rectangle on white twice: from the caption cache and by
// drawText; and the size the cache gives it.
struct CaptionDrawings {
    QImage Cached, Direct;
    QSize Size;
};

CaptionDrawings DrawCaption(const QString& caption, const QFont& font, const QRect& r,
                            Qt::LayoutDirection direction = Qt::LeftToRight) {
    CaptionDrawings d{QImage(100, 60, QImage::Format_RGB32), QImage(), QSize()};
    d.Cached.fill(Qt::white);
    d.Direct = d.Cached;
    QPainter a(&d.Cached), b(&d.Direct);
    for (QPainter* p : {&a, &b}) {
        p->setFont(font);
        p->setLayoutDirection(direction);
    }
    const CaptionLayout& layout = CaptionLayoutOf(a, caption);
    d.Size = layout.Size();
    layout.DrawCentred(a, r);
    b.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, caption);
    return d;
}

} // namespace

TEST(Painting, RaisedWhenUpSunkenWhenDown) {
    SpeedButtonFace face;
    QImage up = Paint(face);
    EXPECT_EQ(up.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(up.pixel(39, 29), qRgb(0, 0, 0));
    EXPECT_EQ(up.pixel(1, 1), qRgb(220, 220, 220));
    EXPECT_EQ(up.pixel(38, 28), qRgb(128, 128, 128));
    EXPECT_EQ(up.pixel(20, 15), qRgb(200, 200, 200));
    face.Down = true;
    QImage down = Paint(face);
    EXPECT_EQ(down.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(down.pixel(39, 29), qRgb(255, 255, 255));
    EXPECT_EQ(down.pixel(1, 1), qRgb(0, 0, 0));
    // A button with a zero or negative size paints nothing.
    QImage none(10, 10, QImage::Format_ARGB32);
    none.fill(Qt::magenta);
    QPainter p(&none);
    PaintSpeedButton(p, QRect(0, 0, 0, 10), face, TestPalette());
    PaintSpeedButton(p, QRect(0, 0, -5, 10), face, TestPalette());
    p.end();
    EXPECT_EQ(none.pixel(0, 0), QColor(Qt::magenta).rgb());
}

TEST(Painting, CaptionCentredInTheButtonsFontAndColour) {
    SpeedButtonFace face;
    face.Caption = "W";
    face.Font = MakeFont("MS Sans Serif", 14, FontStyle{true});
    face.TextColor = QColor(255, 0, 0);
    const QImage img = Paint(face, QSize(60, 50));
    const QRect text = Extent(img, qRgb(255, 0, 0), QRect(2, 2, 56, 46));
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR(text.center().x(), 30, 2);
    EXPECT_NEAR(text.center().y(), 25, 3);
    EXPECT_GT(text.height(), 8); // 14 points, not a default small font

    face.Down = true; // the caption moves with the face
    const QRect moved = Extent(Paint(face, QSize(60, 50)), qRgb(255, 0, 0), QRect(2, 2, 56, 46));
    EXPECT_EQ(moved.topLeft(), text.topLeft() + QPoint(1, 1));
}

TEST(Painting, CachedCaptionsDrawExactlyAsDrawText) {
    // Captions of every kind a layout holds, in fonts of several sizes and styles, placed at
    // rectangles narrower, wider and of odd sizes: the cached layout must not move a pixel.
    // The arrows: one the font's face lacks, one it has beside one it lacks.
    const QString captions[] = {"W", "Backspace", "Caps Lock", " a ", "\u21B5", "\u2190\u21E7",
                                "Tab\tKey", "Line\nBreak",
                                QString::fromUtf8("\xC3\xA4\xCE\xA9\xD0\x96")};
    const QFont fonts[] = {MakeFont("MS Sans Serif", 8), MakeFont("Arial", 14, FontStyle{true}),
                           MakeFont("Courier New", 11, FontStyle{false, true, true, true})};
    const QRect rects[] = {QRect(3, 4, 40, 30), QRect(0, 0, 7, 9), QRect(5, 2, 91, 37)};
    for (const QFont& font : fonts)
        for (const QString& caption : captions)
            for (const QRect& r : rects) {
                const CaptionDrawings d = DrawCaption(caption, font, r);
                EXPECT_EQ(d.Size, QFontMetrics(font).size(Qt::TextSingleLine, caption));
                EXPECT_TRUE(d.Cached == d.Direct) << caption.toStdString() << " in "
                                                  << font.family().toStdString();
            }
}

TEST(Painting, GlyphLowerLeftColourIsTransparent) {
    // A 10x10 glyph: white background, a black bar in the middle; lower-left pixel white.
    QImage glyph(10, 10, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    for (int x = 2; x < 8; ++x)
        glyph.setPixel(x, 5, qRgb(0, 0, 0));
    const QImage t = TransparentGlyph(glyph);
    EXPECT_EQ(qAlpha(t.pixel(0, 9)), 0);
    EXPECT_EQ(qAlpha(t.pixel(0, 0)), 0);
    EXPECT_EQ(t.pixel(4, 5), qRgb(0, 0, 0));

    SpeedButtonFace face;
    face.Glyph = glyph;
    const QImage img = Paint(face, QSize(18, 18));
    // No white square on the face, only the black bar centred.
    EXPECT_TRUE(Extent(img, qRgb(255, 255, 255), QRect(2, 2, 14, 14)).isEmpty());
    const QRect bar = Extent(img, qRgb(0, 0, 0), QRect(2, 2, 14, 14));
    EXPECT_EQ(bar, QRect(6, 9, 6, 1));
}

TEST(Painting, DisabledGlyphIsGreyAndStripsPickTheirImage) {
    QImage strip(20, 10, QImage::Format_RGB32);
    strip.fill(Qt::white);
    strip.setPixel(3, 3, qRgb(0, 0, 0));    // up image
    strip.setPixel(13, 3, qRgb(0, 0, 255)); // disabled image
    SpeedButtonFace face;
    face.Glyph = strip;
    face.NumGlyphs = 2;
    face.Enabled = false;
    QImage img = Paint(face, QSize(18, 18));
    EXPECT_FALSE(Extent(img, qRgb(0, 0, 255), img.rect()).isEmpty());
    EXPECT_TRUE(Extent(img, qRgb(0, 0, 0), QRect(2, 2, 14, 14)).isEmpty());
    face.NumGlyphs = 1;
    face.Glyph = strip.copy(0, 0, 10, 10);
    img = Paint(face, QSize(18, 18));
    EXPECT_TRUE(Extent(img, qRgb(0, 0, 0), QRect(2, 2, 14, 14)).isEmpty());
    EXPECT_FALSE(Extent(img, qRgb(128, 128, 128), QRect(2, 2, 14, 14)).isEmpty());
}

TEST(Painting, OneGlyphCaptionsDrawExactlyAsDrawText) {
    // Captions of one character are drawn as one glyph without a layout: symbols of a symbol
    // face from the application's font at the caption's size, characters its face has from that
    // face. At every size, at fractional places and in either direction they must land on
    // drawText's pixels and measure as QFontMetrics does.
    const QString symbols[] = {"\u21B5", "\u21E7", "\u21E9", "\u2190", "\u2192", "\u2191",
                               "\u2193", "\u232B", "\u2326", "\u2713"};
    const QString characters[] = {"W", "j", "f", "1", "/", "(", "_", "@", " ", "\u00E4"};
    for (int size = 5; size <= 30; ++size)
        for (const char* face : {"Wingdings", "MS Sans Serif", "Times New Roman"})
            for (const QString& caption : face[0] == 'W' ? symbols : characters)
                for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
                    QFont font = MakeFont(face, size, FontStyle{size % 7 == 0, size % 5 == 0});
                    if (size % 2) font.setPixelSize(size);
                    const QRect r(size % 3, size % 4, 20 + size % 5, 17 + size);
                    const CaptionDrawings d = DrawCaption(caption, font, r, direction);
                    // Right to left a bracket is its mirror image, which QFontMetrics ignores.
                    if (direction == Qt::LeftToRight) {
                        EXPECT_EQ(d.Size, QFontMetrics(font).size(Qt::TextSingleLine, caption))
                            << caption.toStdString() << " in " << face << " at " << size;
                    }
                    EXPECT_TRUE(d.Cached == d.Direct)
                        << caption.toStdString() << " in " << face << " at " << size;
                }
}

TEST(Painting, CopiedButtonFacesEqualFacesDrawnInPlace) {
    // Into 32-bit RGB a button's face and bevel are copied from a picture drawn once per size
    // and look; into other pixels they are drawn in place. Both must give the same pixels, for
    // every look, a second button of a size already drawn, and a clip that cuts a button.
    const auto paint = [](QImage::Format format, const QRegion& clip) {
        QImage img(120, 60, format);
        img.fill(Qt::magenta);
        QPainter p(&img);
        p.setClipRegion(clip);
        SpeedButtonFace face;
        face.Caption = "Ab";
        int x = 0;
        for (int look = 0; look < 6; ++look) {
            face.Down = look & 1;
            face.Flat = look & 2;
            face.Hot = look & 4;
            PaintSpeedButton(p, QRect(x, 0, 19, 23), face, TestPalette());
            PaintSpeedButton(p, QRect(x, 25, 19, 23), face, TestPalette());
            PaintSpeedButton(p, QRect(x, 50, 20, 10), face, TestPalette());
            x += 20;
        }
        p.end();
        return img.convertToFormat(QImage::Format_RGB32);
    };
    const QRegion cut = QRegion(0, 0, 120, 60) - QRegion(30, 10, 50, 20);
    for (const QRegion& clip : {QRegion(0, 0, 120, 60), cut})
        EXPECT_TRUE(paint(QImage::Format_RGB32, clip) == paint(QImage::Format_RGBX8888, clip));
}
