#include "qt/CaptionCache.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <memory>

namespace vcl::qt {

namespace {

constexpr int CentredFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;

// How many of the text's characters the face has.
qsizetype Covered(const QRawFont& face, const QList<uint>& text) {
    return std::count_if(text.begin(), text.end(),
                         [&](uint c) { return face.supportsCharacter(c); });
}

// The application's face for a caption none of whose characters its own face has (the arrows of
// a symbol face the system lacks), else an empty name; the caller checks that it has them all. Qt
// would find them by a search through the system's faces, which costs about a sixth of a
// keyboard's first frame; where it finds the application's face, as it does for the sans-serif
// face that stands in for a missing one, the look is the same.
QString ApplicationFaceFor(const QList<uint>& chars, const QFont& font, const QRawFont& own) {
    if (font.styleHint() != QFont::SansSerif) return QString();
    if (!own.isValid() || Covered(own, chars) != 0) return QString();
    const QString face = QFontInfo(QGuiApplication::font()).family();
    if (face.isEmpty() || face == own.familyName()) return QString();
    return face;
}

// The application's font at another pixel size: the engine the application's own text has
// loaded, at the new size with its rendering settings. Opening the face afresh would ask
// fontconfig for those settings again, about as dear as the search above; the usual
// configurations give one face the same settings at every size.
QRawFont ApplicationFontAt(qreal pixelSize) {
    static QFont app;
    static QHash<qint64, QRawFont> sizes;
    if (QGuiApplication::font() != app) {
        app = QGuiApplication::font();
        sizes.clear();
    }
    const qint64 key = qRound64(pixelSize * 64);
    auto it = sizes.constFind(key);
    if (it != sizes.constEnd()) return *it;
    QRawFont font = QRawFont::fromFont(app);
    font.setPixelSize(pixelSize);
    return sizes.insert(key, font).value();
}

// Whether a layout draws each character of Font as its face's glyph at its advance: no
// decorations, no case change, no extra spacing.
bool GlyphsAsIs(const QFont& font) {
    constexpr uint spacing =
        QFont::LetterSpacingResolved | QFont::WordSpacingResolved | QFont::CapitalizationResolved;
    return (font.resolveMask() & spacing) == 0 && !font.underline() && !font.overline() &&
           !font.strikeOut();
}

// Whether Font draws a character exactly as Other does, apart from face and size.
bool SameRendering(const QFont& font, const QFont& other) {
    return font.weight() == other.weight() && font.style() == other.style() &&
           font.stretch() == other.stretch() && font.styleStrategy() == other.styleStrategy() &&
           font.hintingPreference() == other.hintingPreference();
}

// A character that a layout draws as the face's one glyph for it, whatever the direction of the
// text: no mark, no space, no mirrored bracket, no letter of a script whose letters change shape.
bool StandsAlone(uint c) {
    return QChar::script(c) == QChar::Script_Common && !QChar::isMark(c) && !QChar::isSpace(c) &&
           !QChar::hasMirrored(c) && QChar::category(c) != QChar::Other_Format;
}

// A printable ASCII character other than space and the mirrored brackets: no face substitutes
// or moves its glyph when it stands alone, in either direction.
bool PlainAscii(uint c) {
    return c > 0x20 && c < 0x7F && !QChar::hasMirrored(c);
}

// The width Qt gives a line of one glyph: its advance, widened by the ink beyond the advance
// rounded to whole pixels as FreeType rounds it. False where the advance lies too near half a
// pixel to know that rounding and the ink may pass it.
bool LineWidth(const QRawFont& face, quint32 glyph, qreal advance, qreal& width) {
    const qreal inkRight = face.boundingRect(glyph).right();
    if (inkRight > std::floor(advance) && std::abs(advance - std::floor(advance) - 0.5) <= 2 / 64.0)
        return false;
    width = advance + qMax(0.0, inkRight - qRound(advance));
    return true;
}

// A caption of one character drawn as one glyph, placed as its laid-out line would place it:
// centred on its advance and on a line as high as its own face and the face of the glyph
// together, the baseline below the higher ascent (as Qt lays out a line with glyphs from
// another face). Shaping a character that stands alone changes nothing, and skipping it saves
// a layout per key.
class GlyphCaption : public CaptionLayout {
public:
    GlyphCaption(const QRawFont& face, quint32 glyph, qreal advance, qreal width,
                 const QRawFont& own)
        : CaptionLayout(QSize()), face_(face), advance_(advance) {
        run_.setRawFont(face);
        run_.setGlyphIndexes({glyph});
        run_.setPositions({QPointF(0, 0)});
        const qreal ascent = qMax(own.ascent(), face.ascent());
        height_ = ascent + qMax(own.descent(), face.descent());
        baseline_ = ascent - face.ascent();
        SetSize(QSize(qCeil(width), qCeil(height_)));
    }
    void DrawCentred(QPainter& p, const QRect& r) const override {
        // A laid-out line is placed in 1/64 pixels, cut towards zero, and its glyphs on its
        // baseline.
        const QRectF box(r);
        const auto fixed = [](qreal v) { return static_cast<int>(v * 64) / 64.0; };
        const qreal x = fixed(box.x() + (box.width() - advance_) / 2);
        const qreal y = fixed(box.y() + (box.height() - height_) / 2 + baseline_);
        p.drawGlyphRun(QPointF(x, y + face_.ascent()), run_);
    }

private:
    QRawFont face_;
    QGlyphRun run_;
    qreal advance_ = 0;
    qreal height_ = 0;
    qreal baseline_ = 0;
};

// The caption of one glyph for Text in Font, from its own face or, for a symbol the face
// lacks, the application's; null when the text needs a laid-out line.
std::shared_ptr<const CaptionLayout> GlyphCaptionFor(const QString& text, const QFont& font,
                                                     const QRawFont& own) {
    const QList<uint> chars = text.toUcs4();
    if (chars.size() != 1 || !own.isValid() || !GlyphsAsIs(font)) return nullptr;
    QRawFont face = own;
    if (!own.supportsCharacter(chars[0])) {
        if (!StandsAlone(chars[0]) || !SameRendering(font, QGuiApplication::font()) ||
            ApplicationFaceFor(chars, font, own).isEmpty())
            return nullptr;
        face = ApplicationFontAt(own.pixelSize());
        if (!face.supportsCharacter(chars[0])) return nullptr;
    } else if (!PlainAscii(chars[0])) {
        return nullptr;
    }
    const QList<quint32> glyphs = face.glyphIndexesForString(text);
    if (glyphs.size() != 1 || glyphs[0] == 0) return nullptr;
    const qreal advance = face.advancesForGlyphIndexes(glyphs).value(0).x();
    qreal width = 0;
    if (!LineWidth(face, glyphs[0], advance, width)) return nullptr;
    return std::make_shared<GlyphCaption>(face, glyphs[0], advance, width, own);
}

// A caption of one plain line: laid out once; drawing places that line as drawText would,
// centred on its advance and its line height.
class PlainCaption : public CaptionLayout {
public:
    PlainCaption(const QString& text, const QFont& font, const QRawFont& own,
                 Qt::LayoutDirection direction)
        : CaptionLayout(QSize()), layout_(text, font) {
        const QList<uint> chars = text.toUcs4();
        const QString face = ApplicationFaceFor(chars, font, own);
        bool substituted = !face.isEmpty();
        if (substituted) {
            QFont drawn = font;
            drawn.setFamilies({face});
            substituted = Covered(QRawFont::fromFont(drawn), chars) == chars.size();
            if (substituted) layout_.setFont(drawn);
        }
        QTextOption option;
        option.setTextDirection(direction);
        option.setAlignment(Qt::AlignLeft);
        layout_.setTextOption(option);
        layout_.setCacheEnabled(true);
        layout_.beginLayout();
        QTextLine line = layout_.createLine();
        line.setLineWidth(0x01000000);
        line.setPosition(QPointF(0, 0));
        layout_.endLayout();
        height_ = line.ascent() + line.descent();
        if (substituted) {
            // A line Qt lays out with glyphs from another face is as high as both faces
            // together, its baseline below the higher ascent.
            const qreal ascent = qMax(own.ascent(), line.ascent());
            height_ = ascent + qMax(own.descent(), line.descent());
            baseline_ = ascent - line.ascent();
        }
        advance_ = line.horizontalAdvance();
        // The size QFontMetrics::size reports, from this one layout instead of a second.
        SetSize(QSize(qCeil(line.naturalTextWidth()), qCeil(height_)));
    }
    void DrawCentred(QPainter& p, const QRect& r) const override {
        const QRectF box(r);
        layout_.lineAt(0).draw(&p, QPointF(box.x() + (box.width() - advance_) / 2,
                                           box.y() + (box.height() - height_) / 2 + baseline_));
    }

private:
    QTextLayout layout_;
    qreal height_ = 0;
    qreal advance_ = 0;
    qreal baseline_ = 0;
};

// A caption with characters drawText treats specially (line breaks, tabs, length variants):
// drawText draws it, only its size is kept.
class SpecialCaption : public CaptionLayout {
public:
    SpecialCaption(const QString& text, const QFont& font)
        : CaptionLayout(QFontMetrics(font).size(Qt::TextSingleLine, text)), text_(text) {}
    void DrawCentred(QPainter& p, const QRect& r) const override {
        p.drawText(r, CentredFlags, text_);
    }

private:
    QString text_;
};

bool IsPlain(const QString& text) {
    for (QChar c : text)
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == QChar(0x9C)) return false;
    return !text.isEmpty();
}

struct CaptionKey {
    QFont Font;
    QString Text;
    int Dpi;
    Qt::LayoutDirection Direction;
    bool operator==(const CaptionKey& o) const {
        return Dpi == o.Dpi && Direction == o.Direction && Text == o.Text && Font == o.Font;
    }
};

size_t qHash(const CaptionKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.Text, k.Font, k.Dpi, static_cast<int>(k.Direction));
}

} // namespace

const CaptionLayout& CaptionLayoutOf(const QPainter& p, const QString& caption) {
    // About 600 bytes a caption; the bound keeps a program that shows endless texts from
    // growing without end.
    static QHash<CaptionKey, std::shared_ptr<const CaptionLayout>> cache;
    constexpr qsizetype MaxCaptions = 1024;
    const QPaintDevice* device = p.device();
    CaptionKey key{p.font(), caption, device ? device->logicalDpiY() : 0, p.layoutDirection()};
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return **it;
    if (cache.size() >= MaxCaptions) cache.clear();
    std::shared_ptr<const CaptionLayout> layout;
    if (IsPlain(caption)) {
        const QRawFont own = QRawFont::fromFont(key.Font);
        layout = GlyphCaptionFor(caption, key.Font, own);
        if (!layout) layout = std::make_shared<PlainCaption>(caption, key.Font, own, key.Direction);
    } else
        layout = std::make_shared<SpecialCaption>(caption, key.Font);
    return **cache.insert(std::move(key), std::move(layout));
}

} // namespace vcl::qt
