#include "vcl/Graphics.h"

#include "rtl/Streams.h"

#include <gtest/gtest.h>

using namespace vcl;

namespace {

// A 4-bit bitmap file of Width x Height pixels whose palette entry i is (i*16, i*16, i*16) and
// whose pixel (x, y), counted from the top, has the index Pixel(x, y).
std::vector<uint8_t> makeBitmap4(int width, int height, int (*pixel)(int, int)) {
    int rowSize = ((width * 4 + 31) / 32) * 4;
    int dataSize = rowSize * height;
    int offBits = 14 + 40 + 64;
    int fileSize = offBits + dataSize;
    std::vector<uint8_t> b;
    auto u16 = [&](int v) {
        b.push_back(static_cast<uint8_t>(v));
        b.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    b.push_back('B');
    b.push_back('M');
    u32(static_cast<uint32_t>(fileSize));
    u32(0);
    u32(static_cast<uint32_t>(offBits));
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(4);
    u32(0);
    u32(static_cast<uint32_t>(dataSize));
    u32(0);
    u32(0);
    u32(16);
    u32(0);
    for (int i = 0; i < 16; ++i) {
        uint8_t g = static_cast<uint8_t>(i * 16);
        b.insert(b.end(), {g, g, g, 0});
    }
    for (int row = height - 1; row >= 0; --row) {
        std::vector<uint8_t> line(static_cast<size_t>(rowSize), 0);
        for (int x = 0; x < width; ++x) {
            int v = pixel(x, row) & 15;
            line[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? v << 4 : v);
        }
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

} // namespace

TEST(Graphics, NewFontHasTheDocumentedDefaultsAndSizeFollowsHeight) {
    TFont f;
    EXPECT_EQ(f.GetName(), "MS Sans Serif");
    EXPECT_EQ(f.GetSize(), 8);
    EXPECT_EQ(f.GetHeight(), -11);
    EXPECT_EQ(f.GetColor(), clWindowText);
    EXPECT_EQ(f.GetCharset(), DEFAULT_CHARSET);
    EXPECT_TRUE(f.GetStyle().Empty());
    EXPECT_EQ(f.GetPitch(), fpDefault);
    // Sizes round-trip through the height at 96 pixels per inch.
    for (int size : {1, 7, 8, 9, 10, 12, 14, 72}) {
        f.SetSize(size);
        EXPECT_EQ(f.GetSize(), size) << size;
    }
    f.SetSize(10);
    EXPECT_EQ(f.GetHeight(), -13);
    f.SetHeight(-16);
    EXPECT_EQ(f.GetSize(), 12);
}

TEST(Graphics, FontAssignCopiesEveryAttributeOnceAndLeavesTheSourceAlone) {
    TFont a, b;
    a.SetName("Wingdings");
    a.SetSize(14);
    a.SetColor(clRed);
    a.SetStyle({fsBold, fsStrikeOut});
    a.SetCharset(SYMBOL_CHARSET);
    a.SetPitch(fpFixed);
    int changes = 0;
    b.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &b);
        ++changes;
    };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(b.Equals(&a));
    EXPECT_EQ(b.GetSize(), 14);
    a.SetName("Arial");
    EXPECT_EQ(b.GetName(), "Wingdings");
    // Setting the value a font already has is no change.
    b.SetColor(clRed);
    EXPECT_EQ(changes, 1);
    TPen pen;
    EXPECT_THROW(b.Assign(&pen), EConvertError);
}

TEST(Graphics, ColoursConvertToAndFromTheirIdentifiers) {
    EXPECT_EQ(clRed, 0x000000FF);
    EXPECT_EQ(static_cast<uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(clSilver), "clSilver");
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(StringToColor("clwindowtext"), clWindowText);
    EXPECT_EQ(StringToColor("$00C0C0C0"), clSilver);
    EXPECT_EQ(StringToColor("$80000005"), clWindow);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("clPink"), EConvertError);
    EXPECT_THROW(StringToColor("$123456789"), EConvertError);
    EXPECT_THROW(StringToColor(""), EConvertError);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_GE(ColorToRGB(clBtnFace), 0);
}

TEST(Graphics, BitmapDecodesPixelsAndKeepsItsBytes) {
    auto file = makeBitmap4(10, 10, [](int x, int y) { return x == y ? 0 : 15; });
    TBitmap bmp;
    int changes = 0;
    bmp.OnChange = [&](TObject*) { ++changes; };
    bmp.LoadFromBytes(file);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bmp.GetWidth(), 10);
    EXPECT_EQ(bmp.GetHeight(), 10);
    EXPECT_EQ(bmp.BitsPerPixel(), 4);
    EXPECT_EQ(bmp.GetPixel(3, 3), RGB(0, 0, 0));
    EXPECT_EQ(bmp.GetPixel(4, 3), RGB(240, 240, 240));
    EXPECT_EQ(bmp.GetPixel(10, 0), clNone);
    EXPECT_EQ(bmp.TransparentColor(), RGB(240, 240, 240)); // lower-left pixel (0, 9)
    EXPECT_EQ(bmp.FileBytes(), file);

    TMemoryStream out;
    bmp.SaveToStream(&out);
    EXPECT_EQ(out.Bytes(), file);

    TBitmap copy;
    copy.Assign(&bmp);
    EXPECT_EQ(copy.GetPixel(9, 9), RGB(0, 0, 0));
}

TEST(Graphics, BadBitmapsRaiseAndLeaveTheBitmapAsItWas) {
    auto good = makeBitmap4(4, 2, [](int, int) { return 1; });
    TBitmap bmp;
    bmp.LoadFromBytes(good);
    auto truncated = good;
    truncated.resize(truncated.size() - 1);
    auto badMagic = good;
    badMagic[0] = 'X';
    auto hugeWidth = good;
    hugeWidth[18] = 0xFF;
    hugeWidth[19] = 0xFF;
    auto badOffset = good;
    badOffset[10] = 0xFF;
    badOffset[11] = 0xFF;
    auto rle = good;
    rle[30] = 2;
    for (const auto& bad :
         {truncated, badMagic, hugeWidth, badOffset, rle, std::vector<uint8_t>{}}) {
        EXPECT_THROW(bmp.LoadFromBytes(bad), EInvalidGraphic);
        EXPECT_EQ(bmp.FileBytes(), good);
        EXPECT_EQ(bmp.GetWidth(), 4);
    }
}
