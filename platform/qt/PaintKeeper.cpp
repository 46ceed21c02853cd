#include "qt/PaintKeeper.h"

#include <QPaintEngine>
#include <QPainter>
#include <QWidget>

#include <memory>
#include <unordered_map>

namespace vcl::qt {

namespace {

// Never destroyed: a widget may go after the program's static objects.
auto& keepers = *new std::unordered_map<const QWidget*, std::unique_ptr<PaintKeeper>>;

} // namespace

void KeepImage(QWidget* Widget, bool On) {
    if (!On) {
        keepers.erase(Widget);
        return;
    }
    if (keepers.count(Widget)) return;
    keepers.emplace(Widget, std::make_unique<PaintKeeper>());
    QObject::connect(Widget, &QObject::destroyed, [Widget] { keepers.erase(Widget); });
}

PaintKeeper* KeeperOf(const QWidget* Widget) {
    if (keepers.empty()) return nullptr;
    auto it = keepers.find(Widget);
    return it == keepers.end() ? nullptr : it->second.get();
}

void PaintKeeper::Stale(const QRect& Area) {
    if (allStale_) return;
    if (Area.isNull()) {
        allStale_ = true;
        stale_ = QRegion();
    } else {
        stale_ += Area;
    }
}

void PaintKeeper::Paint(QWidget& Widget, const QRegion& Region, const Painter& Draw) {
    QPainter p(&Widget);
    const qreal ratio = Widget.devicePixelRatio();
    const QSize pixels = Widget.size() * ratio;
    // A picture of the widget at another pixel ratio (rendered into an image) is drawn anew.
    if (pixels.isEmpty() || p.paintEngine()->paintDevice()->devicePixelRatio() != ratio) {
        Draw(p, Region.boundingRect());
        return;
    }
    // Fonts are sized for the widget's resolution, which the image takes on.
    if (image_.size() != pixels || image_.devicePixelRatio() != ratio ||
        image_.logicalDpiY() != Widget.logicalDpiY()) {
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        image_.setDotsPerMeterX(qRound(Widget.logicalDpiX() / 0.0254));
        image_.setDotsPerMeterY(qRound(Widget.logicalDpiY() / 0.0254));
        allStale_ = true;
    }
    if (allStale_ || !stale_.isEmpty()) {
        const QRegion area = allStale_ ? QRegion(Widget.rect()) : stale_ & Widget.rect();
        allStale_ = false;
        stale_ = QRegion();
        QPainter ip(&image_);
        // The state a painter on the widget itself starts with.
        ip.setPen(QPen(Widget.palette().brush(Widget.foregroundRole()), 1));
        ip.setBackground(Widget.palette().brush(Widget.backgroundRole()));
        ip.setFont(Widget.font());
        ip.setLayoutDirection(Widget.layoutDirection());
        ip.setClipRegion(area);
        Draw(ip, area.boundingRect());
    }
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : Region)
        p.drawImage(r, image_, QRectF(QPointF(r.topLeft()) * ratio, QSizeF(r.size()) * ratio));
}

} // namespace vcl::qt
