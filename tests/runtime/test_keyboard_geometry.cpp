// The geometry pass on its own: keys in layout units and a client area in, button bounds out.

#include "KeyboardTestUtil.h"

#include "runtime/KeyboardGeometry.h"

#include <gtest/gtest.h>

using namespace quimbel;
using keytest::PlacedKey;

namespace {

std::vector<TButtonBounds> Row(std::initializer_list<TButtonBounds> b) {
    return b;
}

// Ten 8 x 8 keys in one row at Left 0, 8, ..., 72.
void AddRow(TKeyCollection& keys, int top = 0) {
    for (int i = 0; i < 10; ++i)
        keys.AddKey(PlacedKey(ktNormal, 8 * i, top));
}

} // namespace

TEST(KeyboardGeometry, StretchesTheLayoutOverTheClientArea) {
    TKeyCollection keys;
    EXPECT_TRUE(KeyboardGeometry(keys, 400, 80).empty());

    AddRow(keys);
    const std::vector<TButtonBounds> wide = KeyboardGeometry(keys, 400, 80);
    ASSERT_EQ(wide.size(), 10u);
    for (int i = 0; i < 10; ++i) // the buttons touch exactly; the last ends at pixel 380
        EXPECT_EQ(wide[i], (TButtonBounds{38 * i, 0, 38, 72})) << i;

    // Narrower than the natural size: the buttons shrink, positions truncated toward zero.
    keys.AddKey(PlacedKey(ktNormal, 4, 0));
    const std::vector<TButtonBounds> narrow = KeyboardGeometry(keys, 200, 80);
    EXPECT_EQ(narrow[1], (TButtonBounds{19, 0, 19, 72}));
    EXPECT_EQ(narrow[10].Left, 10);

    // Sizes round half to even: the two buttons of the second row overlap by a pixel.
    TKeyCollection rows;
    AddRow(rows);
    rows.AddKey(PlacedKey(ktNormal, 0, 8, 12));
    rows.AddKey(PlacedKey(ktNormal, 12, 8, 4));
    const std::vector<TButtonBounds> two = KeyboardGeometry(rows, 388, 80);
    EXPECT_EQ(two[10], (TButtonBounds{0, 36, 56, 36}));
    EXPECT_EQ(two[11], (TButtonBounds{55, 36, 18, 36}));
}

TEST(KeyboardGeometry, MeasuresFromTheBoundingBox) {
    TKeyCollection offset, far;
    offset.AddKey(PlacedKey(ktNormal, 10, 3));
    offset.AddKey(PlacedKey(ktNormal, 18, 3));
    // A client area of the layout's size plus the margins: natural size, from pixel 0.
    EXPECT_EQ(KeyboardGeometry(offset, 80, 40), Row({{0, 0, 32, 32}, {32, 0, 32, 32}}));

    // Keys at 10000 units and beyond are measured from 10000.
    far.AddKey(PlacedKey(ktNormal, 10008, 10000));
    EXPECT_EQ(KeyboardGeometry(far, 400, 80), Row({{192, 0, 192, 72}}));
}
