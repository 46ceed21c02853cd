// kly import-xkb as a layout author runs it, and kly press on what it makes: the characters
// XKB gives, the geometry and code page chosen, messages and exit statuses.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testsupport;

namespace {

class KlyImport : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::ifstream("/usr/share/X11/xkb/rules/evdev.lst"))
            GTEST_SKIP() << "xkb-data is not installed";
    }
    RunResult Kly(const std::string& args) const {
        return RunProgram("'" KLY_PROGRAM "' " + args, dir_.Dir());
    }
    // The characters that kly press reports typed (OnKey values), joined.
    static std::string Typed(const std::string& out) {
        std::string typed;
        size_t at = 0;
        while ((at = out.find("OnKey ", at)) != std::string::npos) {
            const size_t open = out.find('"', at), close = out.find('"', open + 1);
            typed += out.substr(open + 1, close - open - 1);
            at = close;
        }
        return typed;
    }
    TempDir dir_;
};

TEST_F(KlyImport, FrenchTypesAsXkbSaysOnTheIsoGeometry) {
    RunResult r = Kly("import-xkb fr");
    EXPECT_EQ(r.status, 0) << r.err;
    // Level-three characters that page 1252 cannot hold are named on one warning line.
    EXPECT_EQ(r.err.rfind("kly: fr: warning: code page 1252 cannot hold ", 0), 0u) << r.err;
    // ç, é and ù on the number row and beside Enter; ? on Shift of the comma key. XKB gives Ç
    // through Caps Lock alone (Shift gives 9): so does Caps Lock for letters only, which shows
    // Ç on the key; the default Caps Lock reads the Shift level, where no key shows Ç.
    r = Kly("press --caps-lock-letters-only fr.kly 'Caps Lock' Ç 'Caps Lock' a ' ' é t é ' ' o "
            "ù ' ' Shift '?'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Typed(r.out), "Ça été où ?");
    EXPECT_EQ(Kly("press --caps-lock-letters-only fr.kly 'Caps Lock' É 9").err,
              "kly: argument 3: no key with the caption \"9\" at level 1 (klShift)\n");
    EXPECT_NE(Kly("press fr.kly 'Caps Lock' Ç").status, 0);
    // AZERTY, with < and > on the key beside left Shift: 79 keys and the tall Enter.
    r = Kly("dump fr.kly --pretty");
    EXPECT_EQ(r.out.rfind("{\"codepage\": 1252,", 0), 0u);
    EXPECT_NE(r.out.find("\"captions\": [\"<\", \">\", \"|\"], \"values\": [\"<\", \">\", \"|\"], "
                         "\"left\": 12, \"top\": 36"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"captions\": [\"a\", \"A\", \"æ\"], \"values\": [\"a\", \"A\", \"æ\"], "
                         "\"left\": 12, \"top\": 20"),
              std::string::npos);
    // Dead keys give their spacing accents: ^ and ¨ on the key right of P.
    EXPECT_NE(r.out.find("\"captions\": [\"^\", \"¨\", \"¨\"]"), std::string::npos);

    // --geometry and -o; the JSON form builds the same layout file.
    EXPECT_EQ(Kly("import-xkb fr --geometry ansi -o ansi.kly").status, 0);
    EXPECT_EQ(Kly("check ansi.kly").out, "ansi.kly: OK, 78 keys\n");
    r = Kly("import-xkb us --json -o us.json");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Kly("build us.json -o us.kly").status, 0);
    EXPECT_EQ(Kly("dump us.kly --pretty").out, ReadFile(dir_.Path("us.json")));
    EXPECT_EQ(Kly("import-xkb 'ch(fr)' --json").out.rfind("{\"codepage\": 1252,", 0), 0u);
}

TEST_F(KlyImport, ScriptsFindTheirPageOrAreRefused) {
    // Each layout gets the page of its script.
    const std::pair<const char*, const char*> pages[] = {
        {"ru", "1251"}, {"il", "1255"}, {"ara", "1256"}, {"th", "874"}, {"tr", "1254"}};
    for (const auto& [layout, page] : pages)
        EXPECT_EQ(Kly(std::string("import-xkb ") + layout + " --json")
                      .out.rfind(std::string("{\"codepage\": ") + page + ",", 0),
                  0u)
            << layout;
    // Devanagari is in no single-byte page: refused, naming the layout and a letter.
    RunResult r = Kly("import-xkb 'in(deva)'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("kly: in(deva): no single-byte code page holds its letters: \"", 0), 0u)
        << r.err;
    EXPECT_EQ(Kly("--codepage 1252 import-xkb ru").err,
              "kly: ru: code page 1252 cannot hold its letters: \"ё\" (U+0451) and others are "
              "not in it\n");
    r = Kly("import-xkb 'fr(nosuch)'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kly: fr(nosuch): XKB has no such layout (see "
                     "/usr/share/X11/xkb/rules/evdev.lst)\n");
    EXPECT_EQ(Kly("import-xkb 'fr(' ").status, 1);
    EXPECT_EQ(Kly("import-xkb fr --geometry jis").status, 2);
    EXPECT_EQ(Kly("import-xkb").status, 2);
}

TEST_F(KlyImport, PressTypesAPrecomposedVietnameseLetterAsLetterAndMark) {
    // Page 1258 writes ấ as â and a combining acute: two keys of the built-in vn layout.
    RunResult r = Kly("--codepage 1258 press '" KLY_LAYOUT_FILES "/vn.kly' ấ Shift Ở");
    EXPECT_EQ(r.status, 0) << r.err;
    // What the keys type is the page's bytes: letter, then mark.
    EXPECT_EQ(Typed(r.out), "\u00E2\u0301\u01A0\u0309");
    EXPECT_NE(r.out.find("WM_CHAR 0xE2\nOnKey 0 \"\xCC\x81\"\nWM_CHAR 0xEC"), std::string::npos)
        << r.out;
    // A letter the page holds whole is one key, as before.
    r = Kly("--codepage 1258 press '" KLY_LAYOUT_FILES "/vn.kly' đ");
    EXPECT_EQ(Typed(r.out), "đ");
}

} // namespace
