// kly geometry and kly press as a layout author runs them: the button bounds of the geometry
// pass, and the transcript of clicks on a headless keyboard linked to a recording control.

#include "KeyboardTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

using namespace quimbel;
using namespace keytest;
using namespace testsupport;

namespace {

class KlyKeyboard : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.Path(name); }

    RunResult Kly(const std::string& args) const {
        return RunProgram("'" KLY_PROGRAM "' " + args, dir_.Dir());
    }

    // Saves the keys (taken over) as a layout file in the test's folder.
    void Save(const std::string& name, std::initializer_list<TKey*> keyList) const {
        TKeyCollection keys;
        for (TKey* k : keyList)
            keys.AddKey(k);
        keys.SaveToFile(Path(name));
    }

    TempDir dir_;
};

const std::string De = "'" KLY_LAYOUT_FILES "/de.kly'";

TEST_F(KlyKeyboard, GeometryPrintsTheBoundsOfTheWorkedExamples) {
    // One row of ten standard keys on the default 400 x 80 keyboard: the buttons touch exactly.
    auto row = [] {
        std::vector<TKey*> keys;
        for (int i = 0; i < 10; ++i)
            keys.push_back(PlacedKey(ktNormal, 8 * i, 0));
        return keys;
    };
    {
        TKeyCollection keys;
        for (TKey* k : row())
            keys.AddKey(k);
        keys.SaveToFile(Path("row.kly"));
    }
    RunResult r = Kly("geometry row.kly --size 400x80");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 0 0 38 72\n1 38 0 38 72\n2 76 0 38 72\n3 114 0 38 72\n4 152 0 38 72\n"
                     "5 190 0 38 72\n6 228 0 38 72\n7 266 0 38 72\n8 304 0 38 72\n"
                     "9 342 0 38 72\n");
    EXPECT_EQ(r.err, "");

    // The same row in 200 pixels shrinks; a key at unit 4 lands at -6.5 truncated toward zero.
    {
        TKeyCollection keys;
        for (TKey* k : row())
            keys.AddKey(k);
        keys.AddKey(PlacedKey(ktNormal, 4, 0));
        keys.SaveToFile(Path("shrink.kly"));
    }
    r = Kly("geometry shrink.kly --size 200x80");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 0 0 19 72\n1 19 0 19 72\n2 38 0 19 72\n3 57 0 19 72\n4 76 0 19 72\n"
                     "5 95 0 19 72\n6 114 0 19 72\n7 133 0 19 72\n8 152 0 19 72\n"
                     "9 171 0 19 72\n10 10 0 19 72\n");

    // Shrinking sizes round half to even as well: -6.5, -19.5 and -32.5 pixels become -6, -20
    // and -32 (not -7, -19, -33).
    {
        TKeyCollection keys;
        for (TKey* k : row())
            keys.AddKey(k);
        keys.AddKey(PlacedKey(ktNormal, 0, 0, 4, 8));
        keys.AddKey(PlacedKey(ktNormal, 0, 0, 12, 8));
        keys.AddKey(PlacedKey(ktNormal, 0, 0, 20, 8));
        keys.SaveToFile(Path("ties.kly"));
    }
    r = Kly("geometry ties.kly --size 200x80");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(r.out.find("\n10 ")), "\n10 0 0 10 72\n11 0 0 28 72\n12 0 0 48 72\n");

    // Sizes round half to even, positions truncate: two keys of the second row overlap by one
    // pixel. The layout starts at unit 10, which is drawn from pixel 0.
    {
        TKeyCollection keys;
        for (TKey* k : row()) {
            k->SetLeft(k->Left + 10);
            keys.AddKey(k);
        }
        keys.AddKey(PlacedKey(ktNormal, 10, 8, 12, 8));
        keys.AddKey(PlacedKey(ktNormal, 22, 8, 4, 8));
        keys.SaveToFile(Path("rows.kly"));
    }
    r = Kly("geometry rows.kly --size 388x80");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "0 0 0 37 36\n1 37 0 37 36\n2 74 0 37 36\n3 111 0 37 36\n4 148 0 37 36\n"
                     "5 185 0 37 36\n6 222 0 37 36\n7 259 0 37 36\n8 296 0 37 36\n"
                     "9 333 0 37 36\n10 0 36 56 36\n11 55 36 18 36\n");

    // An empty layout lays out nothing; a built-in one gives one line per key.
    Save("empty.kly", {});
    r = Kly("geometry empty.kly --size 400x80");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    r = Kly("geometry " + De + " --size 800x300");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 79);
    EXPECT_EQ(r.out.substr(0, 12), "0 0 0 42 44\n");
}

TEST_F(KlyKeyboard, GeometryAndPressRejectBadInput) {
    Save("one.kly", {PlacedKey(ktNormal, 0, 0)});
    for (const char* size : {"400", "400x", "x80", "0x80", "400x0", "-4x80", "40 0x80", "32768x80",
                             "400X80", "4e2x80"}) {
        RunResult r = Kly(std::string("geometry one.kly --size '") + size + "'");
        EXPECT_EQ(r.status, 2) << size;
        EXPECT_NE(r.err.find("expected WIDTHxHEIGHT"), std::string::npos) << size << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(Kly("geometry one.kly").status, 2); // --size is required
    EXPECT_EQ(Kly("geometry one.kly --size 32767x1").status, 0);

    RunResult r = Kly("geometry missing.kly --size 400x80");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.kly"), std::string::npos) << r.err;

    // A broken layout names the byte where it breaks, for press as well.
    std::ofstream(Path("broken.kly"), std::ios::binary) << "\x01\x02";
    r = Kly("press broken.kly '#0'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("broken.kly: error at byte"), std::string::npos) << r.err;

    EXPECT_EQ(Kly("press one.kly").status, 2); // no key given
    EXPECT_EQ(Kly("press one.kly '#0' --char-case title").status, 2);
}

TEST_F(KlyKeyboard, PressPrintsEventsAndMessagesInOrder) {
    // Shift, then a capital and lower-case letters; the quote sign comes out as a JSON string.
    RunResult r = Kly("press " + De + " Umschalt G r ü Umschalt '\"' ß");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "OnShiftStateChange true\n"
                     "OnKey 1 \"G\"\nWM_CHAR 0x47\nOnShiftStateChange false\n"
                     "OnKey 0 \"r\"\nWM_CHAR 0x72\n"
                     "OnKey 0 \"ü\"\nWM_CHAR 0xFC\n"
                     "OnShiftStateChange true\n"
                     "OnKey 1 \"\\\"\"\nWM_CHAR 0x22\nOnShiftStateChange false\n"
                     "OnKey 0 \"ß\"\nWM_CHAR 0xDF\n"
                     "state shift=0 caps=0 altgr=0\n");

    // Alt Gr types the euro sign (0x80 in the code page) and is released; Caps Lock stays on.
    r = Kly("press " + De + " 'Alt Gr' € Feststell A '!' Umschalt Feststell");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "OnAltGrStateChange true\n"
                     "OnKey 2 \"€\"\nWM_CHAR 0x80\nOnAltGrStateChange false\n"
                     "OnShiftStateChange true\nOnCapsStateChange true\n"
                     "OnKey 1 \"A\"\nWM_CHAR 0x41\n"
                     "OnKey 1 \"!\"\nWM_CHAR 0x21\n"
                     "OnShiftStateChange false\nOnCapsStateChange false\n"
                     "OnShiftStateChange true\nOnCapsStateChange true\n"
                     "state shift=1 caps=1 altgr=0\n");

    // Keys by index: Enter is a character, the arrows and Escape are key presses, a function
    // key only raises OnKey. Shift released by Alt Gr raises both events.
    r = Kly("press " + De + " '#40' '#76' '#0' '#1' Umschalt 'Alt Gr' '#54'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "OnKey 0 \"\"\nWM_CHAR 0x0D\n"
                     "OnKey 0 \"\"\nWM_KEYDOWN 0x25\n"
                     "OnKey 0 \"\"\nWM_KEYDOWN 0x1B\n"
                     "OnKey 0 \"F1\"\n"
                     "OnShiftStateChange true\n"
                     "OnShiftStateChange false\nOnAltGrStateChange true\n"
                     "OnAltGrStateChange false\nOnShiftStateChange true\n"
                     "state shift=1 caps=0 altgr=0\n");
}

TEST_F(KlyKeyboard, PressAppliesCharCaseToTheEventOnlyAndTypesWholeValues) {
    TKey* word = MakeKey(ktNormal, "ab", "AB", "");
    word->SetKeyValue(klNormal, "a\tb");
    TKey* x = MakeKey(ktNormal, "x", "X", "");
    x->SetLeft(8);
    Save("word.kly", {word, x, PlacedKey(ktShift, 16, 0)});
    RunResult r = Kly("press word.kly ab x --char-case upper");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "OnKey 0 \"A\\tB\"\nWM_CHAR 0x61\nWM_CHAR 0x09\nWM_CHAR 0x62\n"
                     "OnKey 0 \"X\"\nWM_CHAR 0x78\n"
                     "state shift=0 caps=0 altgr=0\n");
    r = Kly("press word.kly '#2' X --char-case lower --size 100x40");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "OnShiftStateChange true\nOnKey 1 \"x\"\nWM_CHAR 0x58\n"
                     "OnShiftStateChange false\nstate shift=0 caps=0 altgr=0\n");
}

TEST_F(KlyKeyboard, PressNamesAKeyItCannotFindOrClick) {
    // Captions are looked up at the level in force: after Shift there is no "a", only "A".
    RunResult r = Kly("press " + De + " Umschalt a");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kly: argument 2: no key with the caption \"a\" at level 1 (klShift)\n");
    r = Kly("press " + De + " q '#79'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "kly: argument 2: no key #79: the layout has 79 keys (#0 to #78)\n");
    r = Kly("press " + De + " '#99999999999999'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no key #99999999999999"), std::string::npos) << r.err;
    // A character without a code in the code page is on no key (it must not match "?").
    r = Kly("press " + De + " Umschalt '✓'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("\"✓\""), std::string::npos) << r.err;

    TKey* hidden = PlacedKey(ktNormal, 0, 0);
    hidden->SetKeyCaption(klNormal, "h");
    hidden->SetVisible(false);
    TKey* off = PlacedKey(ktNormal, 8, 0);
    off->SetKeyCaption(klNormal, "d");
    off->SetEnabled(false);
    TKey* under = PlacedKey(ktNormal, 16, 0);
    under->SetKeyCaption(klNormal, "u");
    TKey* over = PlacedKey(ktNormal, 16, 0);
    Save("odd.kly", {hidden, off, under, over});
    r = Kly("press odd.kly h");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kly: argument 1: key #0 (\"h\") cannot be clicked: it is hidden\n");
    r = Kly("press odd.kly d");
    EXPECT_EQ(r.err, "kly: argument 1: key #1 (\"d\") cannot be clicked: it is disabled\n");
    r = Kly("press odd.kly u");
    EXPECT_EQ(r.err,
              "kly: argument 1: key #2 (\"u\") cannot be clicked: another key's button covers "
              "its middle\n");
    r = Kly("press odd.kly '#3' --size 16x12");
    EXPECT_EQ(r.err,
              "kly: argument 1: key #3 (\"\") cannot be clicked: its button has no area at this "
              "size\n");
    EXPECT_EQ(Kly("press odd.kly '#3'").status, 0);
}

} // namespace
