#include "qt/Colors.h"

#include <gtest/gtest.h>

using namespace vcl::qt;

TEST(Colors, PlainAndSystemColours) {
    EXPECT_EQ(ColorToQColor(0x000000FF), QColor(255, 0, 0));     // clRed
    EXPECT_EQ(ColorToQColor(0x00C0C0C0), QColor(192, 192, 192)); // clSilver
    EXPECT_EQ(ColorToQColor(0x00804020), QColor(0x20, 0x40, 0x80));
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::Base, QColor(4, 5, 6));
    pal.setColor(QPalette::Text, QColor(7, 8, 9));
    EXPECT_EQ(ColorToQColor(0x8000000F, pal), QColor(1, 2, 3)); // clBtnFace
    EXPECT_EQ(ColorToQColor(0x80000005, pal), QColor(4, 5, 6)); // clWindow
    EXPECT_EQ(ColorToQColor(0x80000008, pal), QColor(7, 8, 9)); // clWindowText
    EXPECT_FALSE(ColorToQColor(0x1FFFFFFF).isValid());          // clNone
    EXPECT_FALSE(ColorToQColor(0x20000000).isValid());          // clDefault
}
