#pragma once
// The geometry pass of unit Keyboard: where a keyboard puts the buttons of its keys. A pure
// function of the keys' positions and sizes (in layout units) and the client area, so that it
// can be checked without a keyboard or any button.

#include "Keys.h"

#include <vector>

namespace quimbel {

// The bounds of one button, in pixels of the client area.
struct TButtonBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TButtonBounds& Other) const {
        return Left == Other.Left && Top == Other.Top && Width == Other.Width &&
               Height == Other.Height;
    }
};

// The bounds of the buttons of Keys, one per key in collection order, so that together they fill
// a client area of ClientWidth x ClientHeight pixels less a margin of 16 pixels on the right and
// 8 at the bottom. Only the keys' offsets from their bounding box count (its left and top edges
// are taken at 10000 units at most). Every unit becomes about 4 x avail / span pixels; positions
// are truncated and sizes rounded, so neighbouring buttons may overlap by a pixel or leave a gap.
std::vector<TButtonBounds> KeyboardGeometry(const TKeyCollection& Keys, int ClientWidth,
                                            int ClientHeight);

} // namespace quimbel
