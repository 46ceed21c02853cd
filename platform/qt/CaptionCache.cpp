#include "qt/CaptionCache.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <memory>

namespace vcl::qt {

namespace {

constexpr int CentredFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;

// How many of the text's characters the face has.
qsizetype Covered(const QRawFont& face, const QList<uint>& text) {
    return std::count_if(text.begin(), text.end(),
                         [&](uint c) { return face.supportsCharacter(c); });
}

// The font that draws a caption none of whose characters its own face has (the arrows of a
// symbol face the system lacks): the application's face at the caption font's size, when that
// has them all. Qt would find them by a search through the system's faces, which costs about a
// sixth of a keyboard's first frame; where it finds the application's face, as it does for the
// sans-serif face that stands in for a missing one, the look is the same. False leaves it to Qt.
bool ApplicationFaceFor(const QString& text, const QFont& font, QFont& result) {
    if (font.styleHint() != QFont::SansSerif) return false;
    const QList<uint> chars = text.toUcs4();
    const QRawFont own = QRawFont::fromFont(font);
    if (!own.isValid() || Covered(own, chars) != 0) return false;
    const QString face = QFontInfo(QGuiApplication::font()).family();
    if (face.isEmpty() || face == own.familyName()) return false;
    result = font;
    result.setFamilies({face});
    return Covered(QRawFont::fromFont(result), chars) == chars.size();
}

// A caption of one plain line: laid out once; drawing places that line as drawText would,
// centred on its advance and its line height.
class PlainCaption : public CaptionLayout {
public:
    PlainCaption(const QString& text, const QFont& font, Qt::LayoutDirection direction)
        : CaptionLayout(QSize()), layout_(text, font) {
        QFont drawn;
        const bool substituted = ApplicationFaceFor(text, font, drawn);
        if (substituted) layout_.setFont(drawn);
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
            const QRawFont own = QRawFont::fromFont(font);
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
    if (IsPlain(caption))
        layout = std::make_shared<PlainCaption>(caption, key.Font, key.Direction);
    else
        layout = std::make_shared<SpecialCaption>(caption, key.Font);
    return **cache.insert(std::move(key), std::move(layout));
}

} // namespace vcl::qt
