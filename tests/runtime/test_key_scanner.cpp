// Switch scanning and dwell on a headless keyboard, with the time fed by the test.

#include "ComponentBytes.h"
#include "KeyboardTestUtil.h"
#include "ManualClock.h"

#include "runtime/Keyboard.h"
#include "runtime/Quimbel.h"
#include "vcl/ExtCtrls.h"
#include "vcl/KeyHooks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace quimbel;
using keytest::TRecorder;

namespace {

class KeyScannerTest : public ::testing::Test {
protected:
    void SetUp() override {
        keyboard = std::make_unique<TKeyboard>(nullptr);
        keyboard->SetBounds(0, 0, 740, 240);
        keyboard->LoadLayoutResource("us");
        recorder = std::make_unique<TRecorder>(nullptr);
        recorder->Log = &log;
        keyboard->SetLinkedControl(recorder.get());
    }
    void TearDown() override {
        keyboard.reset();
        recorder.reset();
    }

    TKey* keyFor(char c) const {
        return keyboard->SearchKey(keyboard->GetKeyLevel(), std::string(1, c));
    }
    std::string typed() const {
        std::string s;
        for (const std::string& m : log)
            s += static_cast<char>(std::stoi(m.substr(8), nullptr, 16));
        return s;
    }
    // Waits, with nothing but the clock and one switch, until the key's row lights up, picks
    // it, waits until the key lights up, presses it. What the person sees is the marks.
    void typeWithOneSwitch(char c) {
        TKey* target = keyFor(c);
        ASSERT_NE(target, nullptr) << c;
        Scanner& s = *keyboard->Scanner();
        const int interval = keyboard->GetScanInterval();
        int waited = 0;
        while (!(s.CurrentKey() < 0 && target->Control->GetAssistMark().Selected)) {
            s.Advance(interval);
            ASSERT_LT(++waited, 100) << "row of " << c << " never lit";
        }
        s.Switch(swSelect);
        while (s.SelectedKey() != target) {
            s.Advance(interval);
            ASSERT_LT(++waited, 200) << c << " never lit";
        }
        EXPECT_TRUE(target->Control->GetAssistMark().Selected);
        s.Switch(swSelect);
    }

    using Scanner = TKeyScanner;
    testsupport::ManualClock clock; // outlives the keyboard
    std::unique_ptr<TKeyboard> keyboard;
    std::unique_ptr<TRecorder> recorder;
    std::vector<std::string> log;
};

TEST_F(KeyScannerTest, OneSwitchTypesHelloAndStepScanningMovesOnTheOtherSwitch) {
    // Off by default: time and switches do nothing, no key is marked.
    keyboard->Scanner()->Advance(5000);
    keyboard->Scanner()->Switch(swSelect);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(keyFor('q')->Control->GetAssistMark().Selected);

    keyboard->SetSwitchScanning(ssAutomatic);
    keyboard->SetScanInterval(700);
    // Half an interval moves nothing: the top row stays lit.
    keyboard->Scanner()->Advance(350);
    EXPECT_EQ(keyboard->Scanner()->CurrentRow(), 0);
    for (char c : std::string("hello"))
        typeWithOneSwitch(c);
    EXPECT_EQ(typed(), "hello");

    // A row picked and then left alone goes back to the rows after its last key.
    TKeyScanner& s = *keyboard->Scanner();
    s.Switch(swSelect);
    for (int i = 0; i < 40 && s.CurrentKey() >= 0; ++i)
        s.Advance(700);
    EXPECT_EQ(s.CurrentKey(), -1);
    EXPECT_EQ(typed(), "hello");

    // Step scanning: the clock does nothing, swMove steps, swSelect picks. Shift is a key like
    // any other, so a capital takes Shift and then the letter.
    log.clear();
    keyboard->SetSwitchScanning(ssStep);
    s.Advance(100000);
    EXPECT_EQ(s.CurrentRow(), 0);
    auto pick = [&](TKey* target) {
        for (int i = 0;
             i < 20 && !(s.CurrentKey() < 0 && target->Control->GetAssistMark().Selected); ++i)
            s.Switch(swMove);
        s.Switch(swSelect);
        for (int i = 0; i < 30 && s.SelectedKey() != target; ++i)
            s.Switch(swMove);
        s.Switch(swSelect);
    };
    pick(keyboard->SearchKey(ktShift, "", klNormal));
    EXPECT_TRUE(keyboard->GetShiftState());
    pick(keyFor('H'));
    EXPECT_EQ(typed(), "H");

    // Turning scanning off clears every mark.
    keyboard->SetSwitchScanning(ssNone);
    for (int i = 0; i < keyboard->GetKeys()->GetCount(); ++i) {
        if (TKeyControl* c = keyboard->GetKeys()->GetItem(i)->Control) {
            EXPECT_EQ(c->GetAssistMark(), vcl::TAssistMark());
        }
    }
}

TEST_F(KeyScannerTest, DwellPressesOncePerRestAndShowsItsProgress) {
    TKeyScanner& s = *keyboard->Scanner();
    TKeyControl* a = keyFor('a')->Control;
    // Off by default: resting on a key presses nothing.
    s.PointerOver(a);
    s.Advance(10000);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(a->GetAssistMark().Progress, 0);

    keyboard->SetDwellTime(800);
    s.PointerOver(nullptr);
    s.PointerOver(a);
    s.Advance(400);
    EXPECT_EQ(a->GetAssistMark().Progress, 50);
    EXPECT_TRUE(log.empty());
    // Moving within the key keeps the progress; moving to another key starts over there.
    s.PointerOver(a);
    s.Advance(400);
    EXPECT_EQ(typed(), "a");
    EXPECT_EQ(a->GetAssistMark().Progress, 0);
    s.Advance(5000);
    EXPECT_EQ(typed(), "a") << "one press per rest";
    TKeyControl* b = keyFor('b')->Control;
    s.PointerOver(b);
    s.Advance(799);
    EXPECT_EQ(typed(), "a");
    s.PointerOver(a);
    s.Advance(800);
    EXPECT_EQ(typed(), "aa");

    // A layout replaced under the resting pointer frees its button: nothing dangles.
    s.PointerOver(nullptr);
    s.PointerOver(keyFor('s')->Control);
    keyboard->LoadLayoutResource("de");
    s.Advance(2000);
    EXPECT_EQ(typed(), "aa");
}

TEST_F(KeyScannerTest, KeysTellAssistiveTechnologyTheirNamesAndModifierStates) {
    auto info = [](TKey* key) {
        vcl::TAccessibleInfo i;
        EXPECT_TRUE(key->Control->GetAccessibleInfo(i));
        return i;
    };
    TKey* shift = keyboard->SearchKey(ktShift, "", klNormal);
    TKey* caps = keyboard->SearchKey(ktCapsLock, "", klNormal);
    EXPECT_EQ(info(keyFor('a')).Caption, "a");
    EXPECT_EQ(info(keyFor(' ')).SpokenName, "Space");
    EXPECT_EQ(info(keyboard->SearchKey(ktEnter, "", klNormal)).SpokenName, "Enter");
    EXPECT_EQ(info(keyboard->SearchKey(ktLeft, "", klNormal)).SpokenName, "Left arrow");
    EXPECT_TRUE(info(shift).Checkable);
    EXPECT_FALSE(info(shift).Checked);
    keytest::Click(*keyboard, shift);
    EXPECT_TRUE(info(shift).Checked);
    EXPECT_EQ(info(keyFor('A')).Caption, "A") << "the caption at the level in force";
    keytest::Click(*keyboard, caps);
    EXPECT_FALSE(info(shift).Checked);
    keytest::Click(*keyboard, caps);
    EXPECT_TRUE(info(caps).Checked);
    EXPECT_FALSE(info(shift).Checked);
}

// The keyboard feeds its scanner itself: time from its clock, switch keys pressed anywhere,
// the switch button pressed on it.
TEST_F(KeyScannerTest, AShownKeyboardTypesHelloBySwitchesAloneOnItsOwnClock) {
    keyboard->SetClock(&clock);
    keyboard->SetScanInterval(300);
    keyboard->SetSwitchScanning(ssAutomatic);
    EXPECT_EQ(clock.Running(), 1);
    auto press = [](vcl::Word key) {
        const bool taken = vcl::InputApplicationKey(key, true, false);
        vcl::InputApplicationKey(key, false, false);
        return taken;
    };
    auto waitFor = [&](auto lit) {
        for (int i = 0; i < 200 && !lit(); ++i)
            clock.advance(100);
    };
    for (char c : std::string("hello")) {
        TKey* target = keyFor(c);
        waitFor([&] {
            return keyboard->Scanner()->CurrentKey() < 0 &&
                   target->Control->GetAssistMark().Selected;
        });
        EXPECT_TRUE(press(vcl::VK_SPACE));
        waitFor([&] { return keyboard->Scanner()->SelectedKey() == target; });
        EXPECT_TRUE(press(vcl::VK_SPACE));
    }
    EXPECT_EQ(typed(), "hello");
    // Keys that are no switch, and the move switch of step scanning, are left alone.
    EXPECT_FALSE(press('A'));
    EXPECT_FALSE(press(vcl::VK_RETURN));
    // The left button pressed on any key is the switch, not a tap on that key.
    keytest::Click(*keyboard, keyFor('z'));
    EXPECT_EQ(keyboard->Scanner()->CurrentKey(), 0);
    // A switch held down acts once.
    EXPECT_TRUE(vcl::InputApplicationKey(vcl::VK_SPACE, true, true));
    EXPECT_EQ(keyboard->Scanner()->CurrentKey(), 0);
    EXPECT_EQ(typed(), "hello");

    keyboard->SetSwitchScanning(ssNone);
    EXPECT_EQ(clock.Running(), 0);
    EXPECT_FALSE(press(vcl::VK_SPACE));
    keytest::Click(*keyboard, keyFor('z'));
    EXPECT_EQ(typed().back(), 'z') << "a click types again";
}

TEST_F(KeyScannerTest, DwellFollowsThePointerAndTheTimerRunsOnlyWhileShown) {
    keyboard->SetClock(&clock);
    vcl::TPanel panel(nullptr);
    keyboard->SetParent(&panel);
    // Times are steps of the dwell bar (40 ms), which the rest is counted in.
    keyboard->SetDwellTime(800);
    EXPECT_EQ(clock.Running(), 1);
    auto moveTo = [&](TKey* key) {
        const vcl::TControl* b = key->Control;
        keyboard->InputMouseMove({}, b->GetLeft() + b->GetWidth() / 2, b->GetTop() + 3);
    };
    moveTo(keyFor('a'));
    clock.advance(400);
    EXPECT_EQ(keyFor('a')->Control->GetAssistMark().Progress, 50);
    moveTo(keyFor('a')); // moves within the key keep the progress
    clock.advance(400);
    EXPECT_EQ(typed(), "a");
    clock.advance(4000);
    EXPECT_EQ(typed(), "a") << "once per rest";
    moveTo(keyFor('s'));
    clock.advance(720);
    moveTo(keyFor('a'));
    clock.advance(800);
    EXPECT_EQ(typed(), "aa");
    // A rest counts from the moment the pointer came, between two steps of the bar too.
    clock.advance(30);
    moveTo(keyFor('g'));
    clock.advance(790);
    EXPECT_EQ(typed(), "aa") << "pressed before the dwell time";
    clock.advance(50);
    EXPECT_EQ(typed(), "aag");
    // The pointer leaving the keyboard's window ends the rest.
    moveTo(keyFor('d'));
    clock.advance(400);
    keyboard->InputMouseLeave();
    clock.advance(4000);
    EXPECT_EQ(typed(), "aag");

    // Hidden with its parent, the keyboard keeps no timer; shown again, it runs again.
    panel.SetVisible(false);
    EXPECT_EQ(clock.Running(), 0);
    panel.SetVisible(true);
    EXPECT_EQ(clock.Running(), 1);
    keyboard->SetDwellTime(0);
    EXPECT_EQ(clock.Running(), 0);
    keyboard->SetDwellTime(800);
    moveTo(keyFor('f'));
    // Freed while the pointer rests on a key: its timer goes with it.
    keyboard.reset();
    EXPECT_EQ(clock.Running(), 0);
    clock.advance(3000);
    EXPECT_EQ(typed(), "aag");
}

TEST(SwitchOptions, StoreNothingAtTheirDefaultsAndScanOnceLoaded) {
    TKeyboard written(nullptr);
    written.SetName("Keyboard1");
    const std::string plain = testsupport::StreamedBytes(&written);
    for (const char* name : {"SwitchScanning", "ScanInterval", "DwellTime", "SwitchKey",
                             "SwitchButton", "MoveSwitchButton"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name;

    written.SetSwitchScanning(ssStep);
    written.SetSwitchKey(vcl::VK_F1);
    written.SetMoveSwitchButton(sbNone);
    const std::string bytes = testsupport::StreamedBytes(&written);
    written.SetSwitchScanning(ssNone);
    TKeyboard read(nullptr);
    testsupport::ReadBytes(bytes, &read);
    EXPECT_EQ(read.GetMoveSwitchButton(), sbNone);
    EXPECT_EQ(read.GetSwitchButton(), sbLeft);
    EXPECT_TRUE(vcl::InputApplicationKey(vcl::VK_F1, true, false)) << "scans once loaded";
    EXPECT_FALSE(vcl::InputApplicationKey(vcl::VK_SPACE, true, false));
}

} // namespace
