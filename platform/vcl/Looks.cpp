#include "vcl/Looks.h"

namespace vcl {

const TEnumInfo TThemeInfo{"TTheme",
                           {"thClassic", "thNative", "thLight", "thDark", "thHighContrast"}};

bool TThemeColors::operator==(const TThemeColors& o) const {
    return Background == o.Background && Face == o.Face && Text == o.Text &&
           DownFace == o.DownFace && DownText == o.DownText && Edge == o.Edge && Accent == o.Accent;
}

namespace {

constexpr TColor Rgb(int R, int G, int B) {
    return static_cast<TColor>(R | (G << 8) | (B << 16));
}

} // namespace

TThemeColors ThemeDefaults(TTheme Theme) {
    TThemeColors c;
    switch (Theme) {
    case thLight:
        c = {Rgb(0xE3, 0xE5, 0xE8), Rgb(0xFF, 0xFF, 0xFF), Rgb(0x20, 0x21, 0x24),
             Rgb(0xC4, 0xC8, 0xCE), Rgb(0x20, 0x21, 0x24), Rgb(0xB4, 0xB8, 0xBE),
             Rgb(0x15, 0x65, 0xC0)};
        break;
    case thDark:
        c = {Rgb(0x1E, 0x1F, 0x22), Rgb(0x3A, 0x3C, 0x40), Rgb(0xEC, 0xED, 0xEF),
             Rgb(0x5E, 0x62, 0x68), Rgb(0xFF, 0xFF, 0xFF), Rgb(0x2A, 0x2B, 0x2E),
             Rgb(0x8A, 0xB4, 0xF8)};
        break;
    case thHighContrast:
        // White on black is 21:1; pressed keys turn yellow with black captions (19.6:1), and
        // captions of modifiers that are on turn yellow on black (19.6:1).
        c = {Rgb(0, 0, 0), Rgb(0, 0, 0),          Rgb(0xFF, 0xFF, 0xFF), Rgb(0xFF, 0xFF, 0x00),
             Rgb(0, 0, 0), Rgb(0xFF, 0xFF, 0xFF), Rgb(0xFF, 0xFF, 0x00)};
        break;
    case thClassic:
    case thNative:
        break;
    }
    return c;
}

TThemeColors ResolvedColors(const TLook& Look) {
    const TThemeColors d = ThemeDefaults(Look.Theme);
    TThemeColors c = Look.Colors;
    auto pick = [](TColor& own, TColor fallback) {
        if (own == clDefault) own = fallback;
    };
    pick(c.Background, d.Background);
    pick(c.Face, d.Face);
    pick(c.Text, d.Text);
    pick(c.DownFace, d.DownFace);
    pick(c.DownText, d.DownText);
    pick(c.Edge, d.Edge);
    pick(c.Accent, d.Accent);
    return c;
}

} // namespace vcl
