#include "vcl/Graphics.h"

#include "rtl/Filer.h"
#include "rtl/RTLConsts.h"
#include "vcl/VCLConsts.h"
#include "vcl/Widgetset.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vcl {

const TIdentMap ColorIdents{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
}};

const TIdentMap CharsetIdents{{
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
}};

const TEnumInfo TFontStyleInfo{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
const TEnumInfo TFontPitchInfo{"TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}};
const TEnumInfo TPenStyleInfo{
    "TPenStyle",
    {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"}};
const TEnumInfo TPenModeInfo{"TPenMode",
                             {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                              "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                              "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"}};
const TEnumInfo TBrushStyleInfo{"TBrushStyle",
                                {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                 "bsBDiagonal", "bsCross", "bsDiagCross"}};

bool ColorToIdent(TColor Color, AnsiString& Ident) {
    return ColorIdents.IntToIdent(Color, Ident);
}

bool IdentToColor(const AnsiString& Ident, TColor& Color) {
    int32_t v;
    if (!ColorIdents.IdentToInt(Ident, v)) return false;
    Color = v;
    return true;
}

AnsiString ColorToString(TColor Color) {
    AnsiString ident;
    if (ColorToIdent(Color, ident)) return ident;
    return Format("$%.8X", {static_cast<unsigned>(Color)});
}

TColor StringToColor(const AnsiString& S) {
    TColor c;
    if (IdentToColor(S, c)) return c;
    auto fail = [&]() -> TColor { throw EConvertError(FmtLoadStr(vclconsts::SInvalidColor, {S})); };
    if (S.empty()) return fail();
    size_t i = 0;
    bool negative = false;
    if (S[0] == '-') {
        negative = true;
        i = 1;
    }
    uint64_t v = 0;
    if (i < S.size() && S[i] == '$') {
        ++i;
        if (i >= S.size() || S.size() - i > 8) return fail();
        for (; i < S.size(); ++i) {
            char ch = S[i];
            int d = ch >= '0' && ch <= '9'   ? ch - '0'
                    : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                    : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                                             : -1;
            if (d < 0) return fail();
            v = v * 16 + static_cast<uint64_t>(d);
        }
    } else {
        if (i >= S.size() || S.size() - i > 10) return fail();
        for (; i < S.size(); ++i) {
            if (S[i] < '0' || S[i] > '9') return fail();
            v = v * 10 + static_cast<uint64_t>(S[i] - '0');
        }
        if (v > 0xFFFFFFFFull) return fail();
    }
    uint32_t u = static_cast<uint32_t>(v);
    return static_cast<TColor>(negative ? 0u - u : u);
}

TColor DefaultSysColor(int Index) {
    static const TColor table[] = {
        RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
        RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
        RGB(255, 255, 225)};
    if (Index < 0 || Index >= static_cast<int>(sizeof(table) / sizeof(table[0]))) return clBlack;
    return table[Index];
}

TColor ColorToRGB(TColor Color) {
    if (Color < 0) return Widgetset()->GetSysColor(Color & 0xFF);
    return Color;
}

// --- TGraphicsObject, TFont, TPen, TBrush -------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TGraphicsObject, TPersistent)

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

VCL_DEFINE_CLASS(TFont, TGraphicsObject, c) {
    c.Int("Charset", &TFont::GetCharset, &TFont::SetCharset).Idents(CharsetIdents);
    c.Int("Color", &TFont::GetColor, &TFont::SetColor).Idents(ColorIdents);
    c.Int("Height", &TFont::GetHeight, &TFont::SetHeight);
    c.Str("Name", &TFont::GetName, &TFont::SetName);
    c.Enum("Pitch", TFontPitchInfo, &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
    c.Int("Size", &TFont::GetSize, &TFont::SetSize).NotStored();
    c.SetOf("Style", TFontStyleInfo, &TFont::GetStyle, &TFont::SetStyle);
}

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        if (f == this) return;
        name_ = f->name_;
        height_ = f->height_;
        color_ = f->color_;
        style_ = f->style_;
        charset_ = f->charset_;
        pitch_ = f->pitch_;
        pixelsPerInch_ = f->pixelsPerInch_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

bool TFont::Equals(const TFont* Other) const {
    return Other && name_ == Other->name_ && height_ == Other->height_ && color_ == Other->color_ &&
           style_ == Other->style_ && charset_ == Other->charset_ && pitch_ == Other->pitch_;
}

void TFont::SetName(const AnsiString& Value) {
    if (Value.empty() || name_ == Value) return;
    name_ = Value;
    Changed();
}

int TFont::GetSize() const {
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int Value) {
    SetHeight(-MulDiv(Value, pixelsPerInch_, 72));
}

void TFont::SetHeight(int Value) {
    if (height_ == Value) return;
    height_ = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value) {
    if (style_ == Value) return;
    style_ = Value;
    Changed();
}

void TFont::SetCharset(TFontCharset Value) {
    if (charset_ == Value) return;
    charset_ = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (pitch_ == Value) return;
    pitch_ = Value;
    Changed();
}

VCL_DEFINE_CLASS(TPen, TGraphicsObject, c) {
    c.Int("Color", &TPen::GetColor, &TPen::SetColor).Idents(ColorIdents).Default(clBlack);
    c.Enum("Mode", TPenModeInfo, &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
    c.Enum("Style", TPenStyleInfo, &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
    c.Int("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TPen*>(Source)) {
        color_ = p->color_;
        mode_ = p->mode_;
        style_ = p->style_;
        width_ = p->width_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    Changed();
}
void TPen::SetMode(TPenMode Value) {
    if (mode_ == Value) return;
    mode_ = Value;
    Changed();
}
void TPen::SetStyle(TPenStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    Changed();
}
void TPen::SetWidth(int Value) {
    if (Value < 0 || width_ == Value) return;
    width_ = Value;
    Changed();
}

VCL_DEFINE_CLASS(TBrush, TGraphicsObject, c) {
    c.Int("Color", &TBrush::GetColor, &TBrush::SetColor).Idents(ColorIdents).Default(clWhite);
    c.Enum("Style", TBrushStyleInfo, &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Assign(TPersistent* Source) {
    if (auto* b = dynamic_cast<TBrush*>(Source)) {
        color_ = b->color_;
        style_ = b->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    Changed();
}

// --- TGraphic, TBitmap --------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TGraphic, TPersistent)

void TGraphic::Changed() {
    if (OnChange) OnChange(this);
}

namespace {

std::vector<uint8_t> readToEnd(TStream* Stream) {
    std::vector<uint8_t> data;
    uint8_t chunk[4096];
    for (;;) {
        int32_t n = Stream->Read(chunk, sizeof chunk);
        if (n <= 0) break;
        data.insert(data.end(), chunk, chunk + n);
    }
    return data;
}

void writeAll(TStream* Stream, const uint8_t* Data, size_t Size) {
    while (Size > 0) {
        int32_t part = Size > 0x40000000 ? 0x40000000 : static_cast<int32_t>(Size);
        int32_t n = Stream->Write(Data, part);
        if (n != part) throw EWriteError(LoadResString(rtlconsts::SWriteError));
        Data += n;
        Size -= static_cast<size_t>(n);
    }
}

uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

[[noreturn]] void invalidBitmap() {
    throw EInvalidGraphic(LoadResString(vclconsts::SInvalidBitmap));
}

// Scales a masked field of a 16- or 32-bit pixel to 0..255.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1))
        ++shift;
    uint32_t max = mask >> shift;
    uint32_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>(max == 0 ? 0 : (v * 255 + max / 2) / max);
}

} // namespace

VCL_DEFINE_PLAIN_CLASS(TBitmap, TGraphic)

void TGraphic::LoadFromFile(const AnsiString& FileName) {
    FILE* f = std::fopen(FileName.c_str(), "rb");
    if (!f)
        throw EFOpenError(FmtLoadStr(rtlconsts::SFOpenErrorEx, {FileName, SysErrorMessage(errno)}));
    std::vector<uint8_t> data;
    uint8_t chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        data.insert(data.end(), chunk, chunk + n);
    bool failed = std::ferror(f) != 0;
    int err = errno;
    std::fclose(f);
    if (failed)
        throw EFOpenError(FmtLoadStr(rtlconsts::SFOpenErrorEx, {FileName, SysErrorMessage(err)}));
    if (auto* bitmap = dynamic_cast<TBitmap*>(this)) {
        bitmap->LoadFromBytes(data);
        return;
    }
    invalidBitmap();
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
    auto* bitmap = dynamic_cast<TBitmap*>(this);
    const std::vector<uint8_t> empty;
    const std::vector<uint8_t>& bytes = bitmap ? bitmap->FileBytes() : empty;
    TSaveFileStream f(FileName);
    f.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    f.Commit();
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        Clear();
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(Source)) {
        if (b == this) return;
        file_ = b->file_;
        pixels_ = b->pixels_;
        width_ = b->width_;
        height_ = b->height_;
        bitsPerPixel_ = b->bitsPerPixel_;
        Changed();
        return;
    }
    TGraphic::Assign(Source);
}

void TBitmap::Clear() {
    if (file_.empty() && pixels_.empty()) return;
    file_.clear();
    pixels_.clear();
    width_ = height_ = bitsPerPixel_ = 0;
    Changed();
}

void TBitmap::LoadFromStream(TStream* Stream) {
    LoadFromBytes(readToEnd(Stream));
}

void TBitmap::SaveToStream(TStream* Stream) {
    writeAll(Stream, file_.data(), file_.size());
}

void TBitmap::LoadFromBytes(const std::vector<uint8_t>& File) {
    const std::vector<uint8_t>& b = File;
    if (b.size() < 14 + 12 || b[0] != 'B' || b[1] != 'M') invalidBitmap();
    uint32_t offBits = u32(b, 10);
    uint32_t headerSize = u32(b, 14);
    if (headerSize < 12 || headerSize > b.size() - 14) invalidBitmap();
    int64_t width, height;
    int bpp;
    uint32_t compression = 0, colorsUsed = 0;
    size_t paletteEntry;
    if (headerSize == 12) {
        width = u16(b, 18);
        height = static_cast<int16_t>(u16(b, 20));
        bpp = u16(b, 24);
        paletteEntry = 3;
    } else {
        if (headerSize < 40) invalidBitmap();
        width = static_cast<int32_t>(u32(b, 18));
        height = static_cast<int32_t>(u32(b, 22));
        bpp = u16(b, 28);
        compression = u32(b, 30);
        colorsUsed = u32(b, 46);
        paletteEntry = 4;
    }
    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) invalidBitmap();
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) invalidBitmap();
    if (compression != 0 && !(compression == 3 && (bpp == 16 || bpp == 32)))
        throw EInvalidGraphic(
            FmtLoadStr(vclconsts::SUnsupportedBitmap,
                       {Format("compression %d", {static_cast<int>(compression)})}));

    size_t after = 14 + headerSize;
    uint32_t masks[3] = {0, 0, 0};
    if (compression == 3) {
        if (headerSize == 40) {
            if (b.size() < after + 12) invalidBitmap();
            for (int i = 0; i < 3; ++i)
                masks[i] = u32(b, after + 4 * static_cast<size_t>(i));
            after += 12;
        } else if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                masks[i] = u32(b, 54 + 4 * static_cast<size_t>(i));
        }
    } else if (bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bpp == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }

    std::vector<TColor> palette;
    if (bpp <= 8) {
        size_t count = colorsUsed ? colorsUsed : (size_t{1} << bpp);
        if (count > 256) invalidBitmap();
        if (b.size() < after + count * paletteEntry) invalidBitmap();
        for (size_t i = 0; i < count; ++i) {
            size_t at = after + i * paletteEntry;
            palette.push_back(RGB(b[at + 2], b[at + 1], b[at]));
        }
    }
    size_t rowSize = ((static_cast<size_t>(width) * static_cast<size_t>(bpp) + 31) / 32) * 4;
    size_t dataSize = rowSize * static_cast<size_t>(height);
    if (offBits < after || offBits > b.size() || b.size() - offBits < dataSize) invalidBitmap();

    std::vector<TColor> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int64_t row = 0; row < height; ++row) {
        size_t src = offBits + rowSize * static_cast<size_t>(row);
        int64_t y = topDown ? row : height - 1 - row;
        TColor* out = &pixels[static_cast<size_t>(y * width)];
        for (int64_t x = 0; x < width; ++x) {
            TColor c;
            if (bpp <= 8) {
                size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bpp);
                uint8_t byte = b[src + bit / 8];
                unsigned index =
                    (byte >> (8 - bpp - static_cast<int>(bit % 8))) & ((1u << bpp) - 1);
                c = index < palette.size() ? palette[index] : clBlack;
            } else if (bpp == 24) {
                size_t at = src + static_cast<size_t>(x) * 3;
                c = RGB(b[at + 2], b[at + 1], b[at]);
            } else {
                uint32_t v = bpp == 16 ? u16(b, src + static_cast<size_t>(x) * 2)
                                       : u32(b, src + static_cast<size_t>(x) * 4);
                c = RGB(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
            }
            out[x] = c;
        }
    }
    file_ = File;
    pixels_ = std::move(pixels);
    width_ = static_cast<int>(width);
    height_ = static_cast<int>(height);
    bitsPerPixel_ = bpp;
    Changed();
}

TColor TBitmap::GetPixel(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= width_ || Y >= height_) return clNone;
    return pixels_[static_cast<size_t>(Y) * static_cast<size_t>(width_) + static_cast<size_t>(X)];
}

TColor TBitmap::TransparentColor() const {
    return GetPixel(0, height_ - 1);
}

void TBitmap::DefineProperties(TFiler* Filer) {
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream* Stream) {
            uint8_t size[4];
            if (Stream->Read(size, 4) != 4) throw EReadError(LoadResString(rtlconsts::SReadError));
            uint32_t length =
                static_cast<uint32_t>(size[0]) | (static_cast<uint32_t>(size[1]) << 8) |
                (static_cast<uint32_t>(size[2]) << 16) | (static_cast<uint32_t>(size[3]) << 24);
            std::vector<uint8_t> data = readToEnd(Stream);
            if (data.size() < length) throw EReadError(LoadResString(rtlconsts::SReadError));
            data.resize(length);
            if (length == 0)
                Clear();
            else
                LoadFromBytes(data);
        },
        [this](TStream* Stream) {
            uint32_t length = static_cast<uint32_t>(file_.size());
            uint8_t size[4] = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
                               static_cast<uint8_t>(length >> 16),
                               static_cast<uint8_t>(length >> 24)};
            writeAll(Stream, size, 4);
            writeAll(Stream, file_.data(), file_.size());
        },
        !Empty());
}

} // namespace vcl
