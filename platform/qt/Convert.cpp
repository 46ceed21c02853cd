#include "qt/Convert.h"

#include "qt/Colors.h"
#include "qt/Fonts.h"
#include "rtl/CodePage.h"

#include <string>
#include <unordered_map>

namespace vcl::qt {

namespace {

QFont MakeQFont(const vcl::TFont* Font) {
    const vcl::TFontStyles s = Font->GetStyle();
    QFont f = MakeFont(Font->GetName(), Font->GetSize(),
                       FontStyle{s.Contains(vcl::fsBold), s.Contains(vcl::fsItalic),
                                 s.Contains(vcl::fsUnderline), s.Contains(vcl::fsStrikeOut)});
    const int height = Font->GetHeight();
    const int ppi = Font->GetPixelsPerInch() > 0 ? Font->GetPixelsPerInch() : 96;
    // A negative height is the character height in pixels at the font's resolution.
    if (height < 0) f.setPixelSize(-height * 96 / ppi > 0 ? -height * 96 / ppi : 1);
    return f;
}

// Everything MakeQFont reads, and the code page, which picks the substitute face.
struct FontKey {
    vcl::AnsiString Name;
    int Height, PixelsPerInch, CodePage;
    unsigned Style;
    bool operator==(const FontKey& o) const {
        return Height == o.Height && PixelsPerInch == o.PixelsPerInch && CodePage == o.CodePage &&
               Style == o.Style && Name == o.Name;
    }
};

struct FontKeyHash {
    size_t operator()(const FontKey& k) const {
        return std::hash<std::string>()(k.Name) ^
               (static_cast<size_t>(k.Height) * 31 + static_cast<size_t>(k.Style) * 131 +
                static_cast<size_t>(k.PixelsPerInch) * 7 + static_cast<size_t>(k.CodePage));
    }
};

} // namespace

QFont ToQFont(const vcl::TFont* Font) {
    if (!Font) return MakeFont("MS Sans Serif", 8);
    // Resolving a face is dear and every paint asks for the same few fonts, so each Qt font is
    // made once; a font whose attributes change is another entry. The bound keeps a program that
    // makes endless variations from growing without end.
    static std::unordered_map<FontKey, QFont, FontKeyHash> cache;
    constexpr size_t MaxFonts = 256;
    const vcl::TFontStyles s = Font->GetStyle();
    const FontKey key{Font->GetName(), Font->GetHeight(), Font->GetPixelsPerInch(),
                      vcl::GetAnsiCodePage(),
                      (s.Contains(vcl::fsBold) ? 1u : 0u) | (s.Contains(vcl::fsItalic) ? 2u : 0u) |
                          (s.Contains(vcl::fsUnderline) ? 4u : 0u) |
                          (s.Contains(vcl::fsStrikeOut) ? 8u : 0u)};
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    if (cache.size() >= MaxFonts) cache.clear();
    return cache.emplace(key, MakeQFont(Font)).first->second;
}

QColor ToQColor(vcl::TColor Color) {
    return ColorToQColor(static_cast<std::uint32_t>(Color));
}

vcl::TColor FromQColor(const QColor& c) {
    return vcl::RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                    static_cast<uint8_t>(c.blue()));
}

QImage ToQImage(const vcl::TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->Empty()) return QImage();
    QImage img(Bitmap->GetWidth(), Bitmap->GetHeight(), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const vcl::TColor c = Bitmap->GetPixel(x, y);
            line[x] = qRgb(vcl::GetRValue(c), vcl::GetGValue(c), vcl::GetBValue(c));
        }
    }
    return img;
}

int ToQtAlignment(vcl::TAlignment Alignment) {
    switch (Alignment) {
    case vcl::taRightJustify:
        return Qt::AlignRight;
    case vcl::taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

vcl::TShiftState ToShiftState(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    vcl::TShiftState shift;
    if (Modifiers & Qt::ShiftModifier) shift.Include(vcl::ssShift);
    if (Modifiers & Qt::ControlModifier) shift.Include(vcl::ssCtrl);
    if (Modifiers & Qt::AltModifier) shift.Include(vcl::ssAlt);
    if (Buttons & Qt::LeftButton) shift.Include(vcl::ssLeft);
    if (Buttons & Qt::RightButton) shift.Include(vcl::ssRight);
    if (Buttons & Qt::MiddleButton) shift.Include(vcl::ssMiddle);
    return shift;
}

} // namespace vcl::qt
