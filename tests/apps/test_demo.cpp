// quimbel-demo as a user or CI runs it without a display: it types a text by clicking the keys,
// reports what the edit box holds and saves a screenshot.

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

using namespace testsupport;

class Demo : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    // Runs the demo in the test's folder without a display.
    RunResult Run(const std::string& args) const {
        return RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY '" DEMO_PROGRAM "' " + args,
                          dir_.Dir());
    }

    static std::string Text(const std::string& path) { return ReadFile(path); }

    // Width and height of a PNG file, or 0 x 0 when it is none.
    static std::pair<int, int> PngSize(const std::string& path) {
        const std::string data = Text(path);
        if (data.size() < 24 || data.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return {0, 0};
        auto be32 = [&](size_t at) {
            return (static_cast<unsigned char>(data[at]) << 24) |
                   (static_cast<unsigned char>(data[at + 1]) << 16) |
                   (static_cast<unsigned char>(data[at + 2]) << 8) |
                   static_cast<unsigned char>(data[at + 3]);
        };
        return {be32(16), be32(20)};
    }

    TempDir dir_;
};

TEST_F(Demo, TypesTheTextWithShiftAndAltGrAndSavesAScreenshot) {
    RunResult r =
        Run("--layout de --self-test 'Grüße an Max: 3 € @ {x} 42 µ²' --screenshot de.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "typed: Grüße an Max: 3 € @ {x} 42 µ²\n");
    EXPECT_EQ(PngSize(Path("de.png")), std::make_pair(960, 400));

    // Without a display and without a text it types a sentence of its own on the default
    // layout (us) into quimbel-demo.png.
    r = Run("");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "typed: Hello, World! Café & señor: 1 + 2 = 3 €\n");
    EXPECT_EQ(PngSize(Path("quimbel-demo.png")), std::make_pair(960, 400));

    // Each built-in layout brings its code page, and the demo types a sentence of its script.
    const std::pair<const char*, const char*> sentences[] = {
        {"numpad", "3.14*2-1/8+42"},
        {"phone", "+4930123*5#"},
        {"ru", "Съешь же ещё этих мягких французских булок"},
        {"el", "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία"}};
    for (const auto& [layout, sentence] : sentences) {
        r = Run(std::string("--layout ") + layout);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, std::string("typed: ") + sentence + "\n");
    }
    // An explicit code page wins; Russian letters are then no longer what the keys hold.
    r = Run("--layout ru --codepage 1252 --self-test 'ж'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Run("--codepage 65001").status, 2);

    // A layout file: the keyboard is laid out as it is for a built-in layout.
    r = Run("--layout '" LAYOUT_FILES "/de.kly' --self-test 'Straße 7 {ok}' --screenshot f.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "typed: Straße 7 {ok}\n");
}

TEST_F(Demo, FailsWhenTheTextCannotBeTypedOrTheLayoutIsMissing) {
    // No key of the numeric keypad types letters: nothing is claimed as typed.
    RunResult r = Run("--layout numpad --self-test '12a'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "quimbel-demo: no key of this layout types \"a\"\n");
    r = Run("--layout de --self-test '✓'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quimbel-demo: no key can type the text: Character U+2713 is not in code page "
                     "1252\n");

    r = Run("--layout missing.kly --self-test x");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quimbel-demo: File missing.kly not found!\n");
    r = Run("--layout xx --self-test x");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("xx"), std::string::npos) << r.err;
    EXPECT_EQ(Run("--layout").status, 2);
    EXPECT_EQ(Run("--colour red").status, 2);
}

// A sentence (a pangram where the layout has every letter on a key of its own) on each layout
// imported from the system's keymaps, typed in the layout's own code page.
TEST_F(Demo, TypesASentenceOnEachImportedLayout) {
    const std::pair<const char*, const char*> sentences[] = {
        {"gb", "The quick brown fox jumps over the lazy dog for £5"},
        {"ie", "Fáilte! The quick brown fox jumps over the lazy dog"},
        {"fr", "Portez ce vieux whisky au juge blond qui fume : ça été où ?"},
        {"be", "Portez ce vieux whisky au juge blond qui fume, à très vite"},
        {"ch", "Zwölf Boxkämpfer jagen Viktor quer über den Sylter Deich"},
        {"ch_fr", "Portez ce vieux whisky au juge blond qui fume, voilà l'été"},
        {"es", "Jovencillo emponzoñado de whisky: ¡que figurota exhibe!"},
        {"latam", "Jovencillo emponzoñado de whisky: ¡que figurota exhibe!"},
        {"pt", "Zebras caolhas de Java querem passar fax para moças gigantes de New York"},
        {"br", "Zebras caolhas de Java querem passar fax para moças gigantes de New York"},
        {"it",
         "Quel vituperabile xenofobo zelante assaggia il whisky ed esclama: alleluja è così!"},
        {"nl", "Pa's wijze lynx bezag vroom het fikse aquaduct"},
        {"se", "Flygande bäckasiner söka hwila på mjuka tuvor"},
        {"no", "Vår sære Zulu fra badeøya spilte jo whist og quickstep i min taxi"},
        {"dk", "Høj bly gom vandt fræk sexquiz på wc"},
        {"fi", "Wieniläinen sioux'ta puhuva ökyzombie diggaa Åsan roquefort-tacoja"},
        {"is", "Þetta æðislega öl, sex wax quiz fjörugt"},
        {"pl", "Pchnąć w tę łódź jeża lub ośm skrzyń fig"},
        {"cz", "Příliš žlutý pes úpěl v mrazu; běž domů"},
        {"sk", "Malý žltý kôň učí ťava písať"},
        {"hu", "Árvíztűrő tükörfúrógép"},
        {"ro", "înjurând piţigăiat, zoofobul comandă vexat whisky şi tequila"},
        {"hr", "Gojazni đačić s biciklom drži hmelj i finu vatu u džepu nošnje"},
        {"si", "Hišni mački že ne bodo več pili vode z žlico"},
        {"rs_latin", "Gojazni đačić s biciklom drži hmelj i finu vatu u džepu nošnje"},
        {"tr", "Pijamalı hasta yağız şoföre çabucak güvendi"},
        {"ua", "Чуєш їх, доцю, га? Кумедна ж ти, прощайся без ґольфів!"},
        {"bg", "Жълтата дюля беше щастлива, че пухът, който цъфна, замръзна като гьон"},
        {"by", "У Іўі худы жвавы чорт у зялёнай камізэльцы пабег пад'есці фаршу з юшкай"},
        {"lt", "Įlinkdama fechtuotojo špaga sublykčiojusi pragręžė apvalų arbūzą"},
        {"lv", "Glāžšķūņa rūķīši dzērumā čiepj Baha koncertflīģeļu vākus"},
        {"ee", "Põdur Zagrebi tšellomängija-följetonist Ciqo külmetas kehvas garaažis"},
        {"il", "דג סקרן שט בים מאוכזב ולפתע מצא חברה"},
        {"ara", "نص حكيم له سر قاطع وذو شأن عظيم مكتوب على ثوب أخضر ومغلف بجلد أزرق"},
        {"th", "เป็นมนุษย์สุดประเสริฐเลิศคุณค่า"},
        {"vn", "Tôi yêu tiê\u0301ng Viê\u0323t"},
    };
    for (const auto& [layout, sentence] : sentences) {
        const std::string text = sentence;
        std::string quoted; // for the shell, in single quotes
        for (char c : text)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        RunResult r = Run(std::string("--layout ") + layout + " --self-test '" + quoted +
                          "' --screenshot " + layout + ".png");
        EXPECT_EQ(r.status, 0) << layout << ": " << r.err;
        EXPECT_EQ(r.out, "typed: " + text + "\n") << layout;
    }
}

} // namespace
