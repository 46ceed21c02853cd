#include "qt/PictureCache.h"

#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>

namespace vcl::qt {

namespace {

struct CacheKey {
    PictureKey Key;
    QSize Size;
    bool operator==(const CacheKey& o) const { return Size == o.Size && Key == o.Key; }
};

size_t qHash(const CacheKey& k, size_t seed = 0) {
    return qHashMulti(seed, qHashRange(k.Key.begin(), k.Key.end()), k.Size.width(),
                      k.Size.height());
}

// Whether an opaque 32-bit RGB image copied onto the painter's pixels gives exactly the pixels
// its drawing would: copied one to one into a raster image of such pixels.
bool CopiesExactly(const QPainter& p) {
    if (p.deviceTransform().type() > QTransform::TxTranslate || p.opacity() != 1.0 ||
        p.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;
    const QPaintEngine* engine = p.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return false;
    switch (static_cast<const QImage*>(engine->paintDevice())->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

} // namespace

bool DrawCopy(QPainter& Painter, const QRect& Rect, const PictureKey& Key,
              const std::function<void(QPainter&, const QRect&)>& Draw) {
    if (Rect.isEmpty() || !CopiesExactly(Painter)) return false;
    // A few dozen sizes and looks at most on a screen; the bound keeps a program that shows
    // endless sizes from growing without end.
    static QHash<CacheKey, QImage> cache;
    constexpr qsizetype MaxPictures = 64;
    const CacheKey key{Key, Rect.size()};
    auto it = cache.constFind(key);
    if (it == cache.constEnd()) {
        if (cache.size() >= MaxPictures) cache.clear();
        QImage picture(Rect.size(), QImage::Format_RGB32);
        QPainter p(&picture);
        Draw(p, QRect(QPoint(0, 0), Rect.size()));
        p.end();
        it = cache.insert(key, picture);
    }
    Painter.drawImage(Rect.topLeft(), *it);
    return true;
}

} // namespace vcl::qt
