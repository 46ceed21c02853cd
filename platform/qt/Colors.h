#pragma once
// Colours. A classic colour is 0x00BBGGRR, or 0x800000NN for system colour NN, which Qt's
// palette supplies so forms follow the desktop's colour scheme.

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace vcl::qt {

// clNone and clDefault give an invalid QColor: the caller paints nothing or its default.
QColor ColorToQColor(std::uint32_t Color, const QPalette& Palette);
QColor ColorToQColor(std::uint32_t Color);

} // namespace vcl::qt
