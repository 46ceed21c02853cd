#pragma once
// Colours, fonts, pens, brushes and bitmaps.
//
// A new TFont is "MS Sans Serif", 8 points (Height -11 at 96 pixels per inch), clWindowText,
// no style, DEFAULT_CHARSET, fpDefault: the font a classic form and its controls start with.
// A new TPen is a solid black line 1 pixel wide; a new TBrush is solid white.

#include "rtl/Classes.h"
#include "rtl/Streams.h"
#include "vcl/Types.h"

#include <cstdint>
#include <vector>

namespace vcl {

VCL_EXCEPTION(EInvalidGraphic, Exception)

// A colour: 0x00BBGGRR for an RGB value; 0x800000nn for the system colour number nn, which the
// widgetset resolves (ColorToRGB); clNone and clDefault are special values.
using TColor = int32_t;

constexpr TColor TColorOf(uint32_t v) {
    return static_cast<TColor>(v);
}

constexpr TColor clScrollBar = TColorOf(0x80000000);
constexpr TColor clBackground = TColorOf(0x80000001);
constexpr TColor clActiveCaption = TColorOf(0x80000002);
constexpr TColor clInactiveCaption = TColorOf(0x80000003);
constexpr TColor clMenu = TColorOf(0x80000004);
constexpr TColor clWindow = TColorOf(0x80000005);
constexpr TColor clWindowFrame = TColorOf(0x80000006);
constexpr TColor clMenuText = TColorOf(0x80000007);
constexpr TColor clWindowText = TColorOf(0x80000008);
constexpr TColor clCaptionText = TColorOf(0x80000009);
constexpr TColor clActiveBorder = TColorOf(0x8000000A);
constexpr TColor clInactiveBorder = TColorOf(0x8000000B);
constexpr TColor clAppWorkSpace = TColorOf(0x8000000C);
constexpr TColor clHighlight = TColorOf(0x8000000D);
constexpr TColor clHighlightText = TColorOf(0x8000000E);
constexpr TColor clBtnFace = TColorOf(0x8000000F);
constexpr TColor clBtnShadow = TColorOf(0x80000010);
constexpr TColor clGrayText = TColorOf(0x80000011);
constexpr TColor clBtnText = TColorOf(0x80000012);
constexpr TColor clInactiveCaptionText = TColorOf(0x80000013);
constexpr TColor clBtnHighlight = TColorOf(0x80000014);
constexpr TColor cl3DDkShadow = TColorOf(0x80000015);
constexpr TColor cl3DLight = TColorOf(0x80000016);
constexpr TColor clInfoText = TColorOf(0x80000017);
constexpr TColor clInfoBk = TColorOf(0x80000018);

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The colour identifiers a form stream uses (Color = clBtnFace).
extern const TIdentMap ColorIdents;
bool ColorToIdent(TColor Color, AnsiString& Ident);
bool IdentToColor(const AnsiString& Ident, TColor& Color);
// The identifier, or "$00BBGGRR" for a colour without one.
AnsiString ColorToString(TColor Color);
// An identifier or an integer ($ for hexadecimal); raises EConvertError otherwise.
TColor StringToColor(const AnsiString& S);
// The RGB value of a colour; system colours are resolved by the widgetset (see Widgetset.h).
TColor ColorToRGB(TColor Color);
// The built-in RGB values of the system colours, used when no widgetset says otherwise.
TColor DefaultSysColor(int Index);
constexpr uint8_t GetRValue(TColor c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GetGValue(TColor c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t GetBValue(TColor c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

// Character sets of fonts.
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;
extern const TIdentMap CharsetIdents;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

extern const TEnumInfo TFontStyleInfo;
extern const TEnumInfo TFontPitchInfo;
extern const TEnumInfo TPenStyleInfo;
extern const TEnumInfo TPenModeInfo;
extern const TEnumInfo TBrushStyleInfo;

// Base of fonts, pens and brushes: a persistent value that reports every change.
class TGraphicsObject : public TPersistent {
    VCL_DECLARE_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    // Raises OnChange, once per completed change.
    virtual void Changed();
};

class TFont : public TGraphicsObject {
    VCL_DECLARE_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    // Copies every attribute of another font (name, height and so size, colour, style, charset,
    // pitch, pixels per inch), raising OnChange once.
    void Assign(TPersistent* Source) override;

    const AnsiString& GetName() const { return name_; }
    void SetName(const AnsiString& Value);
    // Size in points, derived from Height at PixelsPerInch (a negative Height is the character
    // height; Size = -Height * 72 / PixelsPerInch, rounded).
    int GetSize() const;
    void SetSize(int Value);
    int GetHeight() const { return height_; }
    void SetHeight(int Value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    TFontStyles GetStyle() const { return style_; }
    void SetStyle(TFontStyles Value);
    TFontCharset GetCharset() const { return charset_; }
    void SetCharset(TFontCharset Value);
    TFontPitch GetPitch() const { return pitch_; }
    void SetPitch(TFontPitch Value);
    int GetPixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int Value) { pixelsPerInch_ = Value > 0 ? Value : 96; }

    // True when every attribute equals the other font's.
    bool Equals(const TFont* Other) const;

private:
    AnsiString name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int pixelsPerInch_ = 96;
};

class TPen : public TGraphicsObject {
    VCL_DECLARE_CLASS(TPen, TGraphicsObject)
public:
    TPen() = default;
    void Assign(TPersistent* Source) override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    TPenMode GetMode() const { return mode_; }
    void SetMode(TPenMode Value);
    TPenStyle GetStyle() const { return style_; }
    void SetStyle(TPenStyle Value);
    int GetWidth() const { return width_; }
    void SetWidth(int Value);

private:
    TColor color_ = clBlack;
    TPenMode mode_ = pmCopy;
    TPenStyle style_ = psSolid;
    int width_ = 1;
};

class TBrush : public TGraphicsObject {
    VCL_DECLARE_CLASS(TBrush, TGraphicsObject)
public:
    TBrush() = default;
    void Assign(TPersistent* Source) override;
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    TBrushStyle GetStyle() const { return style_; }
    void SetStyle(TBrushStyle Value);

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// An image that can be streamed; TBitmap is the one kind the controls use.
class TGraphic : public TPersistent {
    VCL_DECLARE_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

// A device-independent bitmap. It keeps the bytes it was loaded from, so that writing it back
// gives exactly those bytes, and decodes its pixels (1, 4, 8, 16, 24 and 32 bits per pixel,
// uncompressed, bottom-up or top-down) for painting. Bad input raises EInvalidGraphic and
// leaves the bitmap as it was.
class TBitmap : public TGraphic {
    VCL_DECLARE_CLASS(TBitmap, TGraphic)
public:
    TBitmap() = default;
    void Assign(TPersistent* Source) override;
    bool Empty() const override { return width_ == 0 || height_ == 0; }
    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    // Reads a bitmap file ("BM" header, then the DIB) from the stream's position to its end.
    void LoadFromStream(TStream* Stream) override;
    // Writes a bitmap file.
    void SaveToStream(TStream* Stream) override;
    // Parses a complete bitmap file held in memory.
    void LoadFromBytes(const std::vector<uint8_t>& File);
    // The bitmap file bytes (empty for an empty bitmap).
    const std::vector<uint8_t>& FileBytes() const { return file_; }
    void Clear();
    // Colour of the pixel at (X, Y), row 0 at the top, as 0x00BBGGRR; clNone outside.
    TColor GetPixel(int X, int Y) const;
    // The colour drawn transparent: the lower-left pixel's.
    TColor TransparentColor() const;
    int BitsPerPixel() const { return bitsPerPixel_; }
    // Stored in form streams as the binary property Data: a 4-byte length, then the file.
    void DefineProperties(TFiler* Filer) override;

private:
    std::vector<uint8_t> file_;
    std::vector<TColor> pixels_; // rows top to bottom
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
};

} // namespace vcl
