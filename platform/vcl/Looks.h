#pragma once
// Looks: how the widgetset draws the buttons of a container that asks for a theme instead of the
// classic bevelled button. A container (a keyboard) carries one TLook; its graphic buttons and
// its background are drawn with it. A container without one looks classic.

#include "vcl/Graphics.h"
#include "rtl/TypInfo.h"

namespace vcl {

enum TTheme : uint8_t {
    thClassic,      // the raised 3-D button of the system colours
    thNative,       // the push button of the application's widget style
    thLight,        // flat rounded keys, dark captions on white
    thDark,         // flat rounded keys, light captions on grey
    thHighContrast, // white on black, yellow when pressed or on; captions at least 7:1
};
extern const TEnumInfo TThemeInfo;

// The colours of a theme. clDefault stands for the theme's own colour (for thNative: the
// application palette's), so a program overrides only what it names.
struct TThemeColors {
    TColor Background = clDefault; // behind the keys
    TColor Face = clDefault;       // a key at rest
    TColor Text = clDefault;       // its caption
    TColor DownFace = clDefault;   // a key held or latched down
    TColor DownText = clDefault;
    TColor Edge = clDefault;  // the outline of a key
    TColor Accent = clDefault; // captions of modifiers that are on, scanning and dwell marks
    bool operator==(const TThemeColors& o) const;
    bool operator!=(const TThemeColors& o) const { return !(*this == o); }
};

struct TLook {
    TTheme Theme = thClassic;
    TThemeColors Colors;
    // The caption colour that marks a key as on (a keyboard's highlight colour); such a caption
    // is drawn in the Accent colour, or as a checked button in the native theme.
    TColor Mark = clNone;
    bool operator==(const TLook& o) const {
        return Theme == o.Theme && Colors == o.Colors && Mark == o.Mark;
    }
    bool operator!=(const TLook& o) const { return !(*this == o); }
};

// The theme's own colours as RGB (0x00BBGGRR), every field set; thClassic and thNative have none
// of their own (all clDefault), they draw with the system's or the palette's colours.
TThemeColors ThemeDefaults(TTheme Theme);
// Colors with every clDefault replaced by the theme's own colour.
TThemeColors ResolvedColors(const TLook& Look);

} // namespace vcl
