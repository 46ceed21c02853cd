// kly import-xkb over every layout and variant that the system's XKB rules list: each imports
// and types every letter it placed as XKB gives it (clicked as kly press clicks), or is refused
// with a reason that names it. Runs in one process; skipped where xkb-data is not installed.

#include "KlyConsts.h"
#include "Press.h"
#include "XkbImport.h"

#include "rtl/CodePage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

const char* const kEvdevList = "/usr/share/X11/xkb/rules/evdev.lst";

// "fr" and "ch(fr)" for every layout and variant line of the list.
std::vector<std::string> listedLayouts(std::istream& In) {
    std::vector<std::string> names;
    std::string line, section;
    while (std::getline(In, line)) {
        if (line.rfind("! ", 0) == 0) {
            section = line.substr(2);
            continue;
        }
        std::istringstream fields(line);
        std::string first, second;
        if (!(fields >> first)) continue;
        if (section == "layout") names.push_back(first);
        if (section == "variant" && (fields >> second) && second.back() == ':')
            names.push_back(second.substr(0, second.size() - 1) + "(" + first + ")");
    }
    return names;
}

// Clicks Shift or Alt Gr for the level, then the key showing the character, and returns what
// OnKey reported.
vcl::AnsiString typeChar(quimbel::TKeyboard& Keyboard, const kly::TXkbChar& Char) {
    vcl::AnsiString typed;
    Keyboard.OnKey = [&typed](vcl::TObject*, quimbel::TKey*, quimbel::TKeyLevel,
                              vcl::AnsiString Value) { typed += Value; };
    if (Char.Level == 1) kly::PressArgument(Keyboard, "Shift", 1);
    if (Char.Level == 2) kly::PressArgument(Keyboard, "Alt Gr", 1);
    std::string utf8;
    vcl::AppendUtf8(utf8, Char.Typed);
    kly::PressArgument(Keyboard, utf8, 2);
    return typed;
}

TEST(XkbCoverage, EveryListedLayoutTypesItsLettersOrIsRefusedWithAReason) {
    std::ifstream list(kEvdevList);
    if (!list) GTEST_SKIP() << kEvdevList << " is missing (xkb-data is not installed)";
    const std::vector<std::string> names = listedLayouts(list);
    ASSERT_GT(names.size(), 100u);

    int complete = 0, partial = 0, refused = 0, letters = 0, leftOffLetters = 0;
    for (const std::string& name : names) {
        kly::TXkbImportOptions options;
        ASSERT_TRUE(kly::ParseXkbLayoutName(name, options.Layout, options.Variant)) << name;
        auto keys = std::make_unique<quimbel::TKeyCollection>();
        kly::TXkbImport imported;
        try {
            imported = kly::ImportXkb(options, *keys);
        } catch (const kly::EKlyError& e) {
            EXPECT_EQ(e.Message().rfind(name + ": ", 0), 0u) << e.Message();
            ++refused;
            continue;
        }
        quimbel::TKeyboard keyboard(nullptr);
        keyboard.SetBounds(0, 0, 960, 400);
        keyboard.SetKeys(keys.release());
        bool anyLeftOff = false;
        for (const kly::TXkbChar& c : imported.Chars) {
            if (!c.Letter) continue;
            if (!c.Key) {
                anyLeftOff = true;
                ++leftOffLetters;
                EXPECT_NE(imported.LeftOff.find(c.Code), std::u32string::npos) << name;
                continue;
            }
            ++letters;
            vcl::AnsiString expected;
            vcl::AppendAnsiChar(expected, c.Typed);
            try {
                EXPECT_EQ(typeChar(keyboard, c), expected)
                    << name << ": U+" << std::hex << unsigned(c.Code) << " level " << c.Level;
            } catch (const vcl::Exception& e) {
                ADD_FAILURE() << name << ": U+" << std::hex << unsigned(c.Code) << ": "
                              << e.Message();
            }
            // Only a stand-in the page holds takes the place of what XKB gives.
            if (c.Typed != c.Code) {
                EXPECT_TRUE((c.Code == 0x0219 && c.Typed == 0x015F) ||
                            (c.Code == 0x021B && c.Typed == 0x0163) ||
                            (c.Code == 0x0218 && c.Typed == 0x015E) ||
                            (c.Code == 0x021A && c.Typed == 0x0162))
                    << name << ": U+" << std::hex << unsigned(c.Code);
            }
        }
        ++(anyLeftOff ? partial : complete);
    }
    std::cout << names.size() << " layouts and variants: " << complete
              << " import and type all their letters, " << partial
              << " import with some letters left off (reported), " << refused
              << " refused with a reason; " << letters << " letters typed, " << leftOffLetters
              << " left off" << std::endl;
    EXPECT_EQ(complete + partial + refused, static_cast<int>(names.size()));
}

} // namespace
