#pragma once
// Pictures drawn once and copied wherever the same picture is wanted again. A keyboard's keys
// come in a few sizes and looks, and copying a key's face and bevel costs a fraction of filling
// their rectangles one by one.

#include <QRect>
#include <QtGlobal>

#include <array>
#include <functional>

class QPainter;

namespace vcl::qt {

// Everything a picture depends on besides its size, as numbers.
using PictureKey = std::array<quint32, 8>;

// Draws at Rect what Draw paints, opaquely, into an image of Rect's size at (0, 0), drawing it
// once for Key and Rect's size. False, drawing nothing, where a copy could differ from drawing
// in place: a painter that scales or turns, or a destination of other than 32-bit RGB pixels.
bool DrawCopy(QPainter& Painter, const QRect& Rect, const PictureKey& Key,
              const std::function<void(QPainter&, const QRect&)>& Draw);

} // namespace vcl::qt
