// The keyboard's modifier states and its output, driven through clicks on the key buttons.

#include "KeyboardTestUtil.h"

#include "vcl/Widgetset.h"

#include <gtest/gtest.h>

using namespace quimbel;
using namespace keytest;

namespace {

enum State { Normal, Shift, Caps, AltGr };

struct Fixture {
    Fixture() {
        keyboard.SetLinkedControl(&recorder);
        recorder.Log = &log;
        keys = keyboard.GetKeys();
        letter = MakeKey(ktNormal, "a", "A", "@");
        letter->SetLeft(0);
        digit = MakeKey(ktNormal, "1", "!", "\xB9");
        digit->SetLeft(8);
        shiftKey = PlacedKey(ktShift, 16, 0);
        shiftKey2 = PlacedKey(ktShift, 24, 0);
        caps = PlacedKey(ktCapsLock, 32, 0);
        altGr = PlacedKey(ktAltGr, 40, 0);
        enter = PlacedKey(ktEnter, 48, 0);
        function = PlacedKey(ktFunction, 56, 0);
        function->SetKeyValue(klNormal, "F1");
        for (TKey* k : {letter, digit, shiftKey, shiftKey2, caps, altGr, enter, function})
            keys->AddKey(k);
        keyboard.SetKeys(keys);
        keyboard.OnKey = [this](vcl::TObject* Sender, TKey* Key, TKeyLevel Level,
                                vcl::AnsiString Value) {
            EXPECT_EQ(Sender, &keyboard);
            log.push_back("OnKey " + std::to_string(Level) + " " + Value + " " +
                          Key->GetKeyCaption(klNormal));
        };
        keyboard.OnShiftStateChange = [this](vcl::TObject*, bool On) {
            log.push_back(std::string("Shift ") + (On ? "on" : "off"));
        };
        keyboard.OnCapsStateChange = [this](vcl::TObject*, bool On) {
            log.push_back(std::string("Caps ") + (On ? "on" : "off"));
        };
        keyboard.OnAltGrStateChange = [this](vcl::TObject*, bool On) {
            log.push_back(std::string("AltGr ") + (On ? "on" : "off"));
        };
    }

    State state() const {
        bool s = keyboard.GetShiftState(), c = keyboard.GetCapsState(),
             a = keyboard.GetAltGrState();
        if (!s && !c && !a) return Normal;
        if (s && !c && !a) return Shift;
        if (s && c && !a) return Caps;
        if (!s && !c && a) return AltGr;
        ADD_FAILURE() << "flags outside the four states: " << s << c << a;
        return Normal;
    }

    void enter_state(State s) {
        if (s == Shift) Click(keyboard, shiftKey);
        if (s == Caps) Click(keyboard, caps);
        if (s == AltGr) Click(keyboard, altGr);
        ASSERT_EQ(state(), s);
        log.clear();
    }

    // Captions and highlights follow the state.
    void expect_display(State s) {
        TKeyLevel level = s == Normal ? klNormal : s == AltGr ? klAltGr : klShift;
        EXPECT_EQ(keyboard.GetKeyLevel(), level);
        EXPECT_EQ(letter->Control->GetCaption(), letter->GetKeyCaption(level));
        EXPECT_EQ(digit->Control->GetCaption(), digit->GetKeyCaption(level));
        const vcl::TColor hl = keyboard.GetHighlightColor();
        auto colour = [](TKey* k) { return k->Control->GetFont()->GetColor(); };
        EXPECT_EQ(colour(shiftKey) == hl, s == Shift);
        EXPECT_EQ(colour(shiftKey2) == hl, s == Shift);
        EXPECT_EQ(colour(caps) == hl, s == Caps);
        EXPECT_EQ(colour(altGr) == hl, s == AltGr);
        EXPECT_EQ(colour(letter), letter->Font->GetColor());
    }

    TKeyboard keyboard{nullptr};
    TRecorder recorder{nullptr};
    std::vector<std::string> log;
    TKeyCollection* keys;
    TKey *letter, *digit, *shiftKey, *shiftKey2, *caps, *altGr, *enter, *function;
};

} // namespace

TEST(KeyboardStates, EveryTransitionWithItsEventsInOrder) {
    struct Row {
        State from;
        const char* key;
        State to;
        std::vector<std::string> events;
    };
    const std::vector<Row> table{
        {Normal, "shift", Shift, {"Shift on"}},
        {Normal, "caps", Caps, {"Shift on", "Caps on"}},
        {Normal, "altgr", AltGr, {"AltGr on"}},
        {Normal, "a", Normal, {"OnKey 0 a a", "WM_CHAR 0x61"}},
        {Shift, "shift", Normal, {"Shift off"}},
        {Shift, "caps", Normal, {"Shift off", "Caps off"}},
        {Shift, "altgr", AltGr, {"Shift off", "AltGr on"}},
        {Shift, "a", Normal, {"OnKey 1 A a", "WM_CHAR 0x41", "Shift off"}},
        {Caps, "shift", Normal, {"Shift off", "Caps off"}},
        {Caps, "caps", Normal, {"Shift off", "Caps off"}},
        {Caps, "altgr", AltGr, {"Shift off", "Caps off", "AltGr on"}},
        {Caps, "a", Caps, {"OnKey 1 A a", "WM_CHAR 0x41"}},
        {AltGr, "shift", Shift, {"AltGr off", "Shift on"}},
        {AltGr, "caps", Caps, {"AltGr off", "Shift on", "Caps on"}},
        {AltGr, "altgr", Normal, {"AltGr off"}},
        {AltGr, "a", Normal, {"OnKey 2 @ a", "WM_CHAR 0x40", "AltGr off"}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(std::string("from state ") + std::to_string(row.from) + " click " + row.key);
        Fixture f;
        f.enter_state(row.from);
        const std::string k = row.key;
        TKey* key = k == "shift"   ? f.shiftKey
                    : k == "caps"  ? f.caps
                    : k == "altgr" ? f.altGr
                                   : f.letter;
        Click(f.keyboard, key);
        EXPECT_EQ(f.state(), row.to);
        EXPECT_EQ(f.log, row.events);
        f.expect_display(row.to);
    }
}

TEST(KeyboardStates, CapsLockStaysForSeveralKeysAndDigitsToo) {
    Fixture f;
    Click(f.keyboard, f.caps);
    Click(f.keyboard, f.letter);
    Click(f.keyboard, f.digit);
    EXPECT_EQ(f.state(), Caps);
    EXPECT_EQ(f.recorder.Log->at(f.recorder.Log->size() - 1), "WM_CHAR 0x21");
    f.expect_display(Caps);
}

TEST(KeyboardStates, OutputOfEveryKeyType) {
    struct Case {
        TKeyType type;
        std::vector<std::string> sent;
    };
    const std::vector<Case> cases{
        {ktEscape, {"WM_KEYDOWN 0x1B"}},
        {ktEnter, {"WM_CHAR 0x0D"}},
        {KtTab, {"WM_CHAR 0x09"}},
        {ktBackspace, {"WM_CHAR 0x08"}},
        {ktInsert, {"WM_KEYDOWN 0x2D"}},
        {ktDelete, {"WM_KEYDOWN 0x2E"}},
        {ktHome, {"WM_KEYDOWN 0x24"}},
        {ktEnd, {"WM_KEYDOWN 0x23"}},
        {ktPageUp, {"WM_KEYDOWN 0x21"}},
        {ktPageDown, {"WM_KEYDOWN 0x22"}},
        {ktLeft, {"WM_KEYDOWN 0x25"}},
        {ktRight, {"WM_KEYDOWN 0x27"}},
        {ktUp, {"WM_KEYDOWN 0x26"}},
        {ktDown, {"WM_KEYDOWN 0x28"}},
        {ktFunction, {}},
        {static_cast<TKeyType>(200), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type));
        std::vector<std::string> log;
        TRecorder recorder(nullptr);
        recorder.Log = &log;
        TKeyboard keyboard(nullptr);
        TKey* key = PlacedKey(c.type, 0, 0);
        key->KeyValue = {"x", "X", "y"}; // values of special keys are reported, never typed
        keyboard.GetKeys()->AddKey(key);
        keyboard.SetKeys(keyboard.GetKeys());
        keyboard.SetLinkedControl(&recorder);
        Click(keyboard, key);
        EXPECT_EQ(log, c.sent);
    }
}

TEST(KeyboardStates, NormalKeyValuesAndCharCase) {
    Fixture f;
    f.letter->SetKeyValue(klNormal, "abc");
    f.keyboard.SetCharCase(vcl::ecUpperCase);
    Click(f.keyboard, f.letter);
    EXPECT_EQ(f.log, (std::vector<std::string>{"OnKey 0 ABC a", "WM_CHAR 0x61", "WM_CHAR 0x62",
                                               "WM_CHAR 0x63"}));
    f.log.clear();
    f.keyboard.SetCharCase(vcl::ecLowerCase);
    Click(f.keyboard, f.shiftKey);
    Click(f.keyboard, f.letter);
    EXPECT_EQ(f.log,
              (std::vector<std::string>{"Shift on", "OnKey 1 a a", "WM_CHAR 0x41", "Shift off"}));

    // An empty value sends nothing but is still reported, and a one-shot Shift is released.
    f.log.clear();
    f.keyboard.SetCharCase(vcl::ecNormal);
    f.letter->SetKeyValue(klShift, "");
    Click(f.keyboard, f.shiftKey);
    Click(f.keyboard, f.letter);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Shift on", "OnKey 1  a", "Shift off"}));

    // Function keys only report; Alt Gr is released after them.
    f.log.clear();
    Click(f.keyboard, f.altGr);
    Click(f.keyboard, f.function);
    EXPECT_EQ(f.log, (std::vector<std::string>{"AltGr on", "OnKey 2  ", "AltGr off"}));
}

TEST(KeyboardStates, NoLinkedControlStillChangesStatesAndReports) {
    Fixture f;
    f.keyboard.SetLinkedControl(nullptr);
    Click(f.keyboard, f.shiftKey);
    Click(f.keyboard, f.letter);
    EXPECT_EQ(f.log, (std::vector<std::string>{"Shift on", "OnKey 1 A a", "Shift off"}));
}

TEST(KeyboardStates, HandlerExceptionLeavesTheStateWhereItWas) {
    Fixture f;
    Click(f.keyboard, f.shiftKey);
    f.keyboard.OnKey = [](vcl::TObject*, TKey*, TKeyLevel, vcl::AnsiString) {
        throw vcl::Exception("handler failed");
    };
    f.log.clear();
    EXPECT_THROW(f.keyboard.KeyClick(f.letter->Control), vcl::Exception);
    EXPECT_TRUE(f.log.empty()); // nothing sent, Shift not released
    EXPECT_EQ(f.state(), Shift);

    // The same for an exception from the linked control after the first character.
    f.keyboard.OnKey = nullptr;
    f.letter->SetKeyValue(klShift, "AB");
    f.recorder.OnMessage = [] { throw vcl::Exception("control failed"); };
    EXPECT_THROW(f.keyboard.KeyClick(f.letter->Control), vcl::Exception);
    EXPECT_EQ(f.log, std::vector<std::string>{"WM_CHAR 0x41"});
    EXPECT_EQ(f.state(), Shift);
}

TEST(KeyboardStates, BeepForEveryKeyAndInvalidSender) {
    Fixture f;
    f.keyboard.SetBeepOnKeyPressed(true);
    int before = vcl::BeepCount();
    for (TKey* k : {f.shiftKey, f.caps, f.altGr, f.letter})
        Click(f.keyboard, k);
    EXPECT_EQ(vcl::BeepCount() - before, 4);

    vcl::TWinControl stranger(nullptr);
    f.log.clear();
    before = vcl::BeepCount();
    EXPECT_THROW(f.keyboard.KeyClick(&stranger), vcl::EInvalidCast);
    EXPECT_THROW(f.keyboard.KeyClick(nullptr), vcl::EInvalidCast);
    EXPECT_EQ(vcl::BeepCount(), before);
    EXPECT_TRUE(f.log.empty());
}

TEST(KeyboardStates, HighlightColourChangeAppliesAtTheNextChange) {
    Fixture f;
    Click(f.keyboard, f.shiftKey);
    f.keyboard.SetHighlightColor(vcl::clBlue);
    EXPECT_EQ(f.shiftKey->Control->GetFont()->GetColor(), vcl::clRed);
    Click(f.keyboard, f.shiftKey);
    Click(f.keyboard, f.shiftKey);
    EXPECT_EQ(f.shiftKey->Control->GetFont()->GetColor(), vcl::clBlue);
}

TEST(KeyboardStates, StateOperationsCalledByTheApplication) {
    Fixture f;
    f.keyboard.ToggleCapsState();
    EXPECT_EQ(f.state(), Caps);
    f.keyboard.SetShiftState(); // Shift on while Caps is on switches both off
    EXPECT_EQ(f.state(), Normal);
    f.keyboard.ToggleAltGrState();
    f.keyboard.SetShiftState();
    EXPECT_EQ(f.state(), Shift);
    f.keyboard.ClearShiftState();
    EXPECT_EQ(f.log.back(), "Shift off");
    f.expect_display(Normal);
}

TEST(KeyboardStates, SearchKeyOverloads) {
    Fixture f;
    TKey* second = MakeKey(ktNormal, "a", "Q", "");
    f.keys->AddKey(second);
    EXPECT_EQ(f.keyboard.SearchKey("a", klNormal), f.letter);
    EXPECT_EQ(f.keyboard.SearchKey("A", klNormal), nullptr);
    EXPECT_EQ(f.keyboard.SearchKey("Q", klShift), second);
    EXPECT_EQ(f.keyboard.SearchKey(klAltGr, "@"), f.letter);
    EXPECT_EQ(f.keyboard.SearchKey(klNormal, "F1"), f.function);
    EXPECT_EQ(f.keyboard.SearchKey(ktShift, "", klNormal), f.shiftKey);
    EXPECT_EQ(f.keyboard.SearchKey(ktNormal, "Q", klShift), second);
    EXPECT_EQ(f.keyboard.SearchKey(ktEscape, "", klNormal), nullptr);
    EXPECT_EQ(f.keyboard.SearchKey(ktShift, "x", klNormal), nullptr);
}
