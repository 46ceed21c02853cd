#pragma once
// Captions laid out once and drawn many times. Laying out text (shaping, measuring) costs far
// more than drawing its glyphs, and a keyboard draws the same few captions in the same few fonts
// at every repaint.

#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace vcl::qt {

class CaptionLayout;

// The caption in the painter's current font and direction, from a process-wide cache (bounded;
// a font with other attributes is another entry). The reference holds until the next call.
const CaptionLayout& CaptionLayoutOf(const QPainter& Painter, const QString& Caption);

class CaptionLayout {
public:
    virtual ~CaptionLayout() = default;
    // The size QFontMetrics::size gives for the caption on one line.
    QSize Size() const { return size_; }
    // Draws the caption with the painter's pen, pixel for pixel as QPainter::drawText does with
    // Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip.
    virtual void DrawCentred(QPainter& Painter, const QRect& Rect) const = 0;

protected:
    explicit CaptionLayout(QSize Size) : size_(Size) {}
    void SetSize(QSize Size) { size_ = Size; }

private:
    QSize size_;
};

} // namespace vcl::qt
