#pragma once
// An image of everything a widget shows, kept between its paints (internal to the widgetset).
// Qt repaints a window whole each time it shows again, although nothing in it changed; a widget
// that keeps its image copies the image then instead of drawing its content anew. The image is
// brought up to date at each paint where its owner reported changes, so it always holds what a
// full paint would draw.

#include <QImage>
#include <QRegion>

#include <functional>

class QPainter;
class QWidget;

namespace vcl::qt {

class PaintKeeper {
public:
    // Draws Area of the widget (the painter is clipped to what needs drawing).
    using Painter = std::function<void(QPainter&, const QRect&)>;

    // Area of the widget (all of it when null) no longer shows what a paint would draw there.
    void Stale(const QRect& Area = QRect());
    // Serves a paint event of Widget: draws what went stale into the image with Draw, then
    // copies Region from the image to the widget. A new size or pixel ratio makes it all stale.
    void Paint(QWidget& Widget, const QRegion& Region, const Painter& Draw);

private:
    QImage image_;
    QRegion stale_;
    bool allStale_ = true;
};

// Gives the widget a keeper of its image, which goes with the widget, or takes it away.
void KeepImage(QWidget* Widget, bool On);
// The widget's keeper, or null.
PaintKeeper* KeeperOf(const QWidget* Widget);

} // namespace vcl::qt
