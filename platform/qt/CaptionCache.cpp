#include "qt/CaptionCache.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <memory>

namespace vcl::qt {

namespace {

constexpr int CentredFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip;

// A caption of one plain line: laid out once; drawing places that line as drawText would,
// centred on its advance and its line height.
class PlainCaption : public CaptionLayout {
public:
    PlainCaption(const QString& text, const QFont& font, Qt::LayoutDirection direction)
        : CaptionLayout(QSize()), layout_(text, font) {
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
        advance_ = line.horizontalAdvance();
        // The size QFontMetrics::size reports, from this one layout instead of a second.
        SetSize(QSize(qCeil(line.naturalTextWidth()), qCeil(height_)));
    }
    void DrawCentred(QPainter& p, const QRect& r) const override {
        const QRectF box(r);
        layout_.lineAt(0).draw(&p, QPointF(box.x() + (box.width() - advance_) / 2,
                                           box.y() + (box.height() - height_) / 2));
    }

private:
    QTextLayout layout_;
    qreal height_ = 0;
    qreal advance_ = 0;
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
