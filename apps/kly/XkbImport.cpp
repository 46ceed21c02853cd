#include "XkbImport.h"

#include "KlyConsts.h"
#include "XkbConsts.h"

#include "rtl/CodePage.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdio>
#include <cwctype>
#include <locale.h>
#include <memory>

namespace kly {

namespace {

using quimbel::TKey;
using vcl::AnsiString;

// --- geometry --------------------------------------------------------------------------------

// A key of the built-in geometries: an XKB key name for a key of the main block, else the type
// and normal caption of a function, editing or modifier key. Positions and sizes in layout units.
struct TPlace {
    std::string XkbName; // empty for a key whose characters do not come from XKB
    quimbel::TKeyType Type;
    const char* Caption;
    int Left, Top, Width, Height;
    bool Symbol = false; // caption in the symbol font (arrows, Enter)
};

using quimbel::ktNormal;

// Captions of the arrow and Enter keys are bytes of the symbol font, the same in every page.
const TPlace kFunctionRow[] = {
    {"", quimbel::ktEscape, "Esc", 0, 0, 8, 8},     {"", quimbel::ktFunction, "F1", 16, 0, 8, 8},
    {"", quimbel::ktFunction, "F2", 24, 0, 8, 8},   {"", quimbel::ktFunction, "F3", 32, 0, 8, 8},
    {"", quimbel::ktFunction, "F4", 40, 0, 8, 8},   {"", quimbel::ktFunction, "F5", 52, 0, 8, 8},
    {"", quimbel::ktFunction, "F6", 60, 0, 8, 8},   {"", quimbel::ktFunction, "F7", 68, 0, 8, 8},
    {"", quimbel::ktFunction, "F8", 76, 0, 8, 8},   {"", quimbel::ktFunction, "F9", 88, 0, 8, 8},
    {"", quimbel::ktFunction, "F10", 96, 0, 8, 8},  {"", quimbel::ktFunction, "F11", 104, 0, 8, 8},
    {"", quimbel::ktFunction, "F12", 112, 0, 8, 8},
};

const TPlace kEditingBlock[] = {
    {"", quimbel::ktInsert, "Ins", 124, 12, 8, 8},
    {"", quimbel::ktHome, "Home", 132, 12, 8, 8},
    {"", quimbel::ktPageUp, "\xF1", 140, 12, 8, 8, true},
    {"", quimbel::ktDelete, "Del", 124, 20, 8, 8},
    {"", quimbel::ktEnd, "End", 132, 20, 8, 8},
    {"", quimbel::ktPageDown, "\xF2", 140, 20, 8, 8, true},
    {"", quimbel::ktUp, "\xE1", 132, 36, 8, 8, true},
    {"", quimbel::ktLeft, "\xDF", 124, 44, 8, 8, true},
    {"", quimbel::ktDown, "\xE2", 132, 44, 8, 8, true},
    {"", quimbel::ktRight, "\xE0", 140, 44, 8, 8, true},
};

// The rows of the main block: number row from x = 0, letter rows after their modifier key.
void addRow(std::vector<TPlace>& Out, const char* Prefix, int First, int Last, int Left, int Top) {
    for (int i = First; i <= Last; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%s%02d", Prefix, i);
        Out.push_back({name, ktNormal, nullptr, Left + 8 * (i - First), Top, 8, 8});
    }
}

// The ANSI geometry of the built-in us layout, or the ISO one of de (the key beside left Shift,
// the tall Enter, the key left of Enter on the home row).
std::vector<TPlace> geometry(bool Iso) {
    std::vector<TPlace> g(std::begin(kFunctionRow), std::end(kFunctionRow));
    g.push_back({"TLDE", ktNormal, nullptr, 0, 12, 8, 8});
    addRow(g, "AE", 1, 12, 8, 12);
    g.push_back({"", quimbel::ktBackspace, "Backspace", 104, 12, 16, 8});
    g.push_back({"", quimbel::KtTab, "Tab", 0, 20, 12, 8});
    addRow(g, "AD", 1, 12, 12, 20);
    if (Iso) {
        g.push_back({"", quimbel::ktEnter, "\xC3", 108, 20, 12, 16, true});
        g.push_back({"", quimbel::ktCapsLock, "Caps Lock", 0, 28, 12, 8});
        addRow(g, "AC", 1, 11, 12, 28);
        g.push_back({"BKSL", ktNormal, nullptr, 100, 28, 8, 8});
        g.push_back({"", quimbel::ktShift, "Shift", 0, 36, 12, 8});
        g.push_back({"LSGT", ktNormal, nullptr, 12, 36, 8, 8});
    } else {
        g.push_back({"BKSL", ktNormal, nullptr, 108, 20, 12, 8});
        g.push_back({"", quimbel::ktCapsLock, "Caps Lock", 0, 28, 16, 8});
        addRow(g, "AC", 1, 11, 16, 28);
        g.push_back({"", quimbel::ktEnter, "\xC3", 104, 28, 16, 8, true});
        g.push_back({"", quimbel::ktShift, "Shift", 0, 36, 20, 8});
    }
    addRow(g, "AB", 1, 10, 20, 36);
    g.push_back({"", quimbel::ktShift, "Shift", 100, 36, 20, 8});
    g.push_back({"SPCE", ktNormal, nullptr, 24, 44, 64, 8});
    g.push_back({"", quimbel::ktAltGr, "Alt Gr", 88, 44, 12, 8});
    g.insert(g.end(), std::begin(kEditingBlock), std::end(kEditingBlock));
    return g;
}

// The keys of the main block that XKB is asked about, ISO key included.
const std::vector<std::string>& mainBlockNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (const TPlace& p : geometry(true))
            if (!p.XkbName.empty()) n.push_back(p.XkbName);
        return n;
    }();
    return names;
}

// --- characters ------------------------------------------------------------------------------

// A dead key becomes the spacing form of its accent; where the page has none, a combining mark
// (which is how pages 1255 and 1258 write accents) or a near look-alike. First that the page
// holds wins.
struct TDeadKey {
    xkb_keysym_t Sym;
    std::u32string Candidates;
};
const TDeadKey kDeadKeys[] = {
    {XKB_KEY_dead_grave, U"`\u0300"},
    {XKB_KEY_dead_acute, U"\u00B4\u0384\u0301'"},
    {XKB_KEY_dead_circumflex, U"^\u0302"},
    {XKB_KEY_dead_tilde, U"~\u02DC\u0303"},
    {XKB_KEY_dead_macron, U"\u00AF\u0304"},
    {XKB_KEY_dead_breve, U"\u02D8\u0306"},
    {XKB_KEY_dead_abovedot, U"\u02D9\u0307"},
    {XKB_KEY_dead_diaeresis, U"\u00A8\u0308"},
    {XKB_KEY_dead_abovering, U"\u02DA\u00B0\u030A"},
    {XKB_KEY_dead_doubleacute, U"\u02DD\u030B"},
    {XKB_KEY_dead_caron, U"\u02C7\u030C"},
    {XKB_KEY_dead_cedilla, U"\u00B8\u0327"},
    {XKB_KEY_dead_ogonek, U"\u02DB\u0328"},
    {XKB_KEY_dead_iota, U"\u037A\u0345"},
    {XKB_KEY_dead_belowdot, U"\u0323."},
    {XKB_KEY_dead_hook, U"\u0309"},
    {XKB_KEY_dead_horn, U"\u031B"},
    {XKB_KEY_dead_stroke, U"/"},
    {XKB_KEY_dead_abovecomma, U"\u1FBF\u0313"},
    {XKB_KEY_dead_abovereversedcomma, U"\u1FFE\u0314"},
    {XKB_KEY_dead_doublegrave, U"\u030F"},
    {XKB_KEY_dead_belowcomma, U",\u0326"},
    {XKB_KEY_dead_currency, U"\u00A4"},
    {XKB_KEY_dead_lowline, U"_"},
    {XKB_KEY_dead_greek, U"\u00B5"},
};

// What one key gives at one level: its character, then stand-ins for a page that lacks it (the
// choices for a dead key).
struct TLevelChars {
    std::u32string Candidates; // empty: nothing
    bool Dead = false;
};

TLevelChars charsOf(xkb_keysym_t Sym) {
    for (const TDeadKey& d : kDeadKeys)
        if (d.Sym == Sym) return {d.Candidates, true};
    const char32_t c = xkb_keysym_to_utf32(Sym);
    if (c < 0x20 || c == 0x7F) return {};
    // Romanian s and t with comma below, which page 1250 writes with a cedilla.
    for (const char32_t* pair :
         {U"\u0218\u015E", U"\u0219\u015F", U"\u021A\u0162", U"\u021B\u0163"})
        if (pair[0] == c) return {pair, false};
    return {std::u32string(1, c), false};
}

bool pageHolds(int Page, char32_t C) {
    AnsiString bytes;
    return vcl::AppendAnsiChar(bytes, C, Page);
}

// The first candidate that the page holds, or 0.
char32_t chosen(const TLevelChars& L, int Page) {
    for (char32_t c : L.Candidates)
        if (pageHolds(Page, c)) return c;
    return 0;
}

// Unicode letters, whatever the program's locale.
bool isLetter(char32_t C) {
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (utf8) return iswalpha_l(static_cast<wint_t>(C), utf8);
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C >= 0xC0;
}

struct TXkb {
    std::unique_ptr<xkb_context, decltype(&xkb_context_unref)> Context{nullptr, xkb_context_unref};
    std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> Keymap{nullptr, xkb_keymap_unref};
};

// The characters of the main block's keys, per key name and level.
using TKeyChars = std::vector<std::array<TLevelChars, 3>>;

TKeyChars readKeymap(const TXkbImportOptions& Options) {
    TXkb xkb;
    xkb.Context.reset(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (!xkb.Context) throw EKlyError(vcl::LoadResString(consts::SXkbNoContext));
    xkb_context_set_log_level(xkb.Context.get(), XKB_LOG_LEVEL_CRITICAL);
    const xkb_rule_names names{"evdev", "pc105", Options.Layout.c_str(), Options.Variant.c_str(),
                               ""};
    xkb.Keymap.reset(
        xkb_keymap_new_from_names(xkb.Context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!xkb.Keymap)
        throw EKlyError(
            vcl::FmtLoadStr(consts::SXkbUnknown, {XkbLayoutName(Options.Layout, Options.Variant)}));
    xkb_keymap* keymap = xkb.Keymap.get();
    // The levels are what a user gets holding Shift or the level-three key, as XKB's own key
    // types say for each key.
    const xkb_keycode_t shift = xkb_keymap_key_by_name(keymap, "LFSH");
    const xkb_keycode_t level3 = xkb_keymap_key_by_name(keymap, "LVL3");
    TKeyChars result;
    for (const std::string& name : mainBlockNames()) {
        std::array<TLevelChars, 3> levels;
        const xkb_keycode_t code = xkb_keymap_key_by_name(keymap, name.c_str());
        for (int level = 0; level < 3 && code != XKB_KEYCODE_INVALID; ++level) {
            std::unique_ptr<xkb_state, decltype(&xkb_state_unref)> state(xkb_state_new(keymap),
                                                                         xkb_state_unref);
            if (level == 1 && shift != XKB_KEYCODE_INVALID)
                xkb_state_update_key(state.get(), shift, XKB_KEY_DOWN);
            if (level == 2) {
                if (level3 == XKB_KEYCODE_INVALID) continue;
                xkb_state_update_key(state.get(), level3, XKB_KEY_DOWN);
            }
            const xkb_keysym_t* syms = nullptr;
            if (xkb_state_key_get_syms(state.get(), code, &syms) == 1)
                levels[level] = charsOf(syms[0]);
        }
        result.push_back(levels);
    }
    return result;
}

// Pages in the order they are preferred when several serve equally: Western European first,
// then Central European, the way the pages' own numbering goes.
std::vector<int> pagesByPreference() {
    std::vector<int> pages = vcl::SupportedCodePages();
    std::stable_partition(pages.begin(), pages.end(), [](int p) { return p == 1252; });
    return pages;
}

// The page that holds every character; else the one that holds the most letters.
int choosePage(const TKeyChars& Chars) {
    int best = 0, bestLetters = -1;
    for (int page : pagesByPreference()) {
        int letters = 0;
        bool complete = true;
        for (const auto& levels : Chars)
            for (const TLevelChars& l : levels) {
                if (l.Candidates.empty()) continue;
                const char32_t c = chosen(l, page);
                if (!c)
                    complete = false;
                else if (!l.Dead && isLetter(c))
                    ++letters;
            }
        if (complete) return page;
        if (letters > bestLetters) {
            bestLetters = letters;
            best = page;
        }
    }
    return best;
}

TKey* newKey(quimbel::TKeyCollection& Keys, const TPlace& Place) {
    auto key = std::make_unique<TKey>(Place.Type);
    key->SetLeft(Place.Left);
    key->SetTop(Place.Top);
    key->SetWidth(static_cast<quimbel::TKeyWidth>(Place.Width));
    key->SetHeight(static_cast<quimbel::TKeyHeight>(Place.Height));
    key->Font->SetName(Place.Symbol ? "Wingdings" : "MS Sans Serif");
    key->Font->SetSize(10);
    key->Font->SetColor(vcl::clWindowText);
    TKey* raw = key.get();
    Keys.AddKey(key.release());
    return raw;
}

} // namespace

bool ParseXkbLayoutName(const std::string& Name, std::string& Layout, std::string& Variant) {
    const size_t open = Name.find('(');
    auto plain = [](const std::string& s) {
        return !s.empty() && s.find_first_of("() \t,") == std::string::npos;
    };
    if (open == std::string::npos) {
        if (!plain(Name)) return false;
        Layout = Name;
        Variant.clear();
        return true;
    }
    if (Name.back() != ')') return false;
    const std::string layout = Name.substr(0, open);
    const std::string variant = Name.substr(open + 1, Name.size() - open - 2);
    if (!plain(layout) || !plain(variant)) return false;
    Layout = layout;
    Variant = variant;
    return true;
}

std::string XkbLayoutName(const std::string& Layout, const std::string& Variant) {
    return Variant.empty() ? Layout : Layout + "(" + Variant + ")";
}

TXkbImport ImportXkb(const TXkbImportOptions& Options, quimbel::TKeyCollection& Keys) {
    const TKeyChars chars = readKeymap(Options);
    const std::vector<std::string>& names = mainBlockNames();
    auto charsAt = [&](const std::string& Name) -> const std::array<TLevelChars, 3>& {
        return chars[std::find(names.begin(), names.end(), Name) - names.begin()];
    };

    TXkbImport result;
    result.CodePage = Options.CodePage ? Options.CodePage : choosePage(chars);

    // The layout's own script is what its keys give at the normal level; a page that holds
    // fewer than half of those letters cannot show the layout.
    int letters = 0, held = 0;
    char32_t example = 0;
    for (const auto& levels : chars) {
        const TLevelChars& l = levels[0];
        if (l.Dead || l.Candidates.empty() || !isLetter(l.Candidates[0])) continue;
        ++letters;
        if (chosen(l, result.CodePage))
            ++held;
        else if (!example)
            example = l.Candidates[0];
    }
    if (2 * held < letters) {
        std::string utf8;
        vcl::AppendUtf8(utf8, example);
        const std::string name = XkbLayoutName(Options.Layout, Options.Variant);
        const unsigned code = static_cast<unsigned>(example);
        if (Options.CodePage)
            throw EKlyError(
                vcl::FmtLoadStr(consts::SXkbNotInPage, {name, result.CodePage, utf8, code}));
        throw EKlyError(vcl::FmtLoadStr(consts::SXkbNoPage, {name, utf8, code, result.CodePage}));
    }

    // ISO when the key beside left Shift gives a character that no other key gives without
    // Alt Gr.
    if (Options.Geometry == TXkbGeometry::Auto) {
        std::u32string elsewhere;
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] != "LSGT")
                for (int level = 0; level < 2; ++level)
                    elsewhere += chars[i][level].Candidates;
        for (int level = 0; level < 2; ++level)
            for (char32_t c : charsAt("LSGT")[level].Candidates)
                if (elsewhere.find(c) == std::u32string::npos) result.Iso = true;
    } else {
        result.Iso = Options.Geometry == TXkbGeometry::Iso;
    }

    vcl::SetAnsiCodePage(result.CodePage);
    for (const TPlace& place : geometry(result.Iso)) {
        TKey* key = newKey(Keys, place);
        if (place.XkbName.empty()) {
            key->SetKeyCaption(quimbel::klNormal, place.Caption);
            if (place.Type == quimbel::ktFunction)
                for (int level = 0; level < 3; ++level)
                    key->SetKeyValue(static_cast<quimbel::TKeyLevel>(level), place.Caption);
            continue;
        }
        const auto& levels = charsAt(place.XkbName);
        for (int level = 0; level < 3; ++level) {
            const TLevelChars& l = levels[level];
            AnsiString text;
            if (!l.Candidates.empty()) {
                const char32_t c = chosen(l, result.CodePage);
                TXkbChar entry{
                    l.Candidates[0], c, level, l.Dead, !l.Dead && isLetter(l.Candidates[0]),
                    nullptr};
                if (c) {
                    vcl::AppendAnsiChar(text, c);
                    entry.Key = key;
                } else if (result.LeftOff.find(entry.Code) == std::u32string::npos) {
                    result.LeftOff += entry.Code;
                }
                result.Chars.push_back(entry);
            }
            // The space bar types a space at every level, as on the built-in layouts.
            if (text.empty() && place.XkbName == "SPCE") text = " ";
            key->SetKeyCaption(static_cast<quimbel::TKeyLevel>(level), text);
            key->SetKeyValue(static_cast<quimbel::TKeyLevel>(level), text);
        }
    }
    return result;
}

} // namespace kly
