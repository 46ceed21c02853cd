#include "KeyboardGeometry.h"

#include "rtl/SysUtils.h"

#include <algorithm>

namespace quimbel {

namespace {

// The margins, in layout units: 16 pixels on the right, 8 at the bottom.
constexpr int64_t marginRight = 16 / PixelsPerUnit;
constexpr int64_t marginBottom = 8 / PixelsPerUnit;
// The bounding box is measured from here at most, as if a key stood at this position.
constexpr int64_t boxOrigin = 10000;

// Pixels that `units` layout units gain when each 8 units gain `extra` pixels, truncated toward
// zero. 64-bit arithmetic: stored layouts may hold any 32-bit position.
int scaledPosition(int64_t units, int64_t extra) {
    return static_cast<int>(units * PixelsPerUnit + (units * extra) / 8);
}

// units * extra / 8 rounded to the nearest integer, ties to the even one. Exact in integers,
// as the division by 8 is in floating point; the pass runs this for every key on every resize.
int scaledSize(int64_t units, int64_t extra) {
    const int64_t n = units * extra;
    int64_t q = n / 8, r = n % 8;
    if (r < 0) { // floor division, so that r is the non-negative remainder
        r += 8;
        --q;
    }
    if (r > 4 || (r == 4 && (q & 1) != 0)) ++q;
    return static_cast<int>(units * PixelsPerUnit + q);
}

// Extra pixels per 8 layout units that stretch a span of `span` units over `avail` units. A span
// of zero has nothing to stretch and keeps its natural size.
int64_t extraPerEightUnits(int64_t avail, int64_t span) {
    if (span == 0) return 0;
    long double perEight = static_cast<long double>(span) / 8;
    return vcl::Trunc(static_cast<long double>(avail - span) / perEight * PixelsPerUnit);
}

} // namespace

std::vector<TButtonBounds> KeyboardGeometry(const TKeyCollection& Keys, int ClientWidth,
                                            int ClientHeight) {
    int64_t minLeft = boxOrigin, minTop = boxOrigin, maxRight = 0, maxBottom = 0;
    const int count = Keys.GetCount();
    for (int i = 0; i < count; ++i) {
        const TKey* key = Keys.GetItem(i);
        minLeft = std::min<int64_t>(minLeft, key->Left);
        minTop = std::min<int64_t>(minTop, key->Top);
        maxRight = std::max<int64_t>(maxRight, int64_t{key->Left} + key->Width);
        maxBottom = std::max<int64_t>(maxBottom, int64_t{key->Top} + key->Height);
    }
    const int64_t availX = ClientWidth / PixelsPerUnit - marginRight;
    const int64_t availY = ClientHeight / PixelsPerUnit - marginBottom;
    const int64_t extraX = extraPerEightUnits(availX, maxRight - minLeft);
    const int64_t extraY = extraPerEightUnits(availY, maxBottom - minTop);
    std::vector<TButtonBounds> bounds(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TKey* key = Keys.GetItem(i);
        TButtonBounds& b = bounds[static_cast<size_t>(i)];
        b.Left = scaledPosition(key->Left - minLeft, extraX);
        b.Width = scaledSize(key->Width, extraX);
        b.Top = scaledPosition(key->Top - minTop, extraY);
        b.Height = scaledSize(key->Height, extraY);
    }
    return bounds;
}

} // namespace quimbel
