#pragma once
// Drawing of the controls that have no widget of their own (speed buttons, shapes, labels), of
// the frames and captions of panels and group boxes, and of the classic 3-D frames, with the
// colours of the Qt palette.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <QString>

class QPainter;

namespace vcl {
struct TAssistMark;
class TCustomLabel;
class TCustomPanel;
class TShape;
class TSpeedButton;
class TWinControl;
} // namespace vcl

namespace vcl::qt {

// The marks of assistive input over a button's face: a thick frame in the highlight colour for
// the row or key scanning has selected, and a bar along the bottom edge that fills as the
// pointer dwells.
void PaintAssistMark(QPainter& Painter, const QRect& Rect, const vcl::TAssistMark& Mark,
                     const QPalette& Palette);

// Drawing on whole device pixels. At a fractional device pixel ratio a logical pixel covers one
// device pixel here and two there, so lines of equal width would come out unequal or blurred.
// While an active DevicePixels lives, the painter works in device pixels: Rect() is the logical
// rectangle with each edge on its nearest device pixel (neighbours sharing an edge share it
// still), and Scale() is the device pixels a logical pixel stands for, to be rounded per length.
// At a whole ratio (1 included) it is inactive and changes nothing.
class DevicePixels {
public:
    DevicePixels(QPainter& Painter, const QRect& Rect);
    ~DevicePixels();
    DevicePixels(const DevicePixels&) = delete;
    DevicePixels& operator=(const DevicePixels&) = delete;
    bool Active() const { return active_; }
    const QRect& Rect() const { return rect_; }
    qreal Scale() const { return scale_; }
    // Length logical pixels in the painter's current pixels, at least one.
    int Pixels(qreal Length) const;

private:
    QPainter& painter_;
    QRect rect_;
    qreal scale_ = 1;
    bool active_ = false;
};

// Classic Frame3D: a frame of Width lines, top-left in one colour and bottom-right in the
// other; Rect shrinks to the area inside the frame.
void Frame3D(QPainter& Painter, QRect& Rect, const QColor& TopLeft, const QColor& BottomRight,
             int Width);

// The glyph with every pixel of the colour of its lower-left pixel made transparent.
QImage TransparentGlyph(const QImage& Glyph);

enum class GlyphLayout { Left, Right, Top, Bottom };

// Everything a speed button shows.
struct SpeedButtonFace {
    QString Caption;
    QFont Font;
    QColor TextColor;  // invalid: the palette's button text
    QColor FaceColor;  // invalid: the palette's button face
    QImage Glyph;      // as stored; NumGlyphs images of equal width side by side
    int NumGlyphs = 1; // up, disabled, clicked, down
    GlyphLayout Layout = GlyphLayout::Left;
    int Margin = -1;   // -1 centres glyph and caption together
    int Spacing = 4;   // pixels between glyph and caption
    bool Down = false; // held by the pointer or latched down
    bool Enabled = true;
    bool Flat = false;
    bool Hot = false; // pointer over a flat button
};

// Raised 3-D button, sunken while down with the content one pixel down and right; the caption
// is drawn literally (an "&" key shows "&").
void PaintSpeedButton(QPainter& Painter, const QRect& Rect, const SpeedButtonFace& Face,
                      const QPalette& Palette);
// The glyph and the caption of a button placed as PaintSpeedButton places them, the caption in
// Text (a disabled button's embossed in the palette's Light and Dark), one pixel down and right
// when ShiftDown.
void PaintButtonContent(QPainter& Painter, const QRect& Rect, const SpeedButtonFace& Face,
                        const QPalette& Palette, const QColor& Text, bool ShiftDown);
// What a speed button of the model shows now.
SpeedButtonFace FaceOf(const vcl::TSpeedButton* Button);

// A shape filling Bounds, its outline centred on the rectangle inset by half the pen.
void PaintShape(QPainter& Painter, const QRect& Bounds, const vcl::TShape* Shape);
// A label's caption (and its background unless transparent); a disabled one is embossed.
void PaintLabel(QPainter& Painter, const QRect& Rect, const vcl::TCustomLabel* Label,
                const QPalette& Palette);
// The etched frame of a group box with its caption over the top line; All is the whole widget.
void PaintGroupFrame(QPainter& Painter, const vcl::TWinControl* Group, const QRect& All,
                     const QPalette& Palette);
// A panel's border, bevels and caption; All is the whole widget.
void PaintPanel(QPainter& Painter, const vcl::TCustomPanel* Panel, const QRect& All,
                const QPalette& Palette);

} // namespace vcl::qt
