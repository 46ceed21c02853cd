// Typing on a touch screen with real touch events: several fingers, key repeat and the long-press
// row on a clock the test drives, Shift held by a finger, locked modifiers, Caps Lock for letters
// only; on QuimbelKeyboard and on a bare TKeyboard shown through the widgetset. Also: the touch
// options stream nothing at their defaults.

#include "qtkeyboard/QuimbelKeyboard.h"

#include "QtApplication.h"

#include "qt/QtWidgetset.h"
#include "rtl/CodePage.h"
#include "ComponentBytes.h"
#include "ManualClock.h"
#include "rtl/FormStreams.h"
#include "rtl/Streams.h"
#include "runtime/KeyChars.h"
#include "runtime/Keyboard.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointingDevice>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new QtApplication);

using testsupport::ManualClock;

QPointingDevice* touchScreen() {
    static QPointingDevice* device = QTest::createTouchDevice();
    return device;
}

// Fingers on a widget. Every touch event names all the fingers that are down, as a touch
// screen reports them: those that do not change stand still.
struct Fingers {
    QWidget* widget;
    std::map<int, QPoint> down;
    void send(int id, QPoint at, QEventPoint::State state) {
        auto seq = QTest::touchEvent(widget, touchScreen());
        for (const auto& [other, pos] : down)
            if (other != id) seq.move(other, pos);
        if (state == QEventPoint::Pressed) seq.press(id, at);
        if (state == QEventPoint::Updated) seq.move(id, at);
        if (state == QEventPoint::Released) seq.release(id, at);
    }
    void press(int id, QPoint at) {
        send(id, at, QEventPoint::Pressed);
        down[id] = at;
    }
    void move(int id, QPoint at) {
        send(id, at, QEventPoint::Updated);
        down[id] = at;
    }
    void release(int id, QPoint at) {
        send(id, at, QEventPoint::Released);
        down.erase(id);
    }
    void tap(int id, QPoint at) {
        press(id, at);
        release(id, at);
    }
};

class TouchOnQuimbelKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::SetAnsiCodePage(1252);
        auto* column = new QVBoxLayout(&window);
        column->addWidget(line);
        column->addWidget(keyboard, 1);
        window.resize(760, 400);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        keyboard->setTarget(line);
        keyboard->keyboard()->SetClock(&clock);
    }
    QPoint at(const QString& caption) {
        const QRect r = keyboard->keyRect(caption);
        EXPECT_FALSE(r.isEmpty()) << caption.toStdString();
        return r.center();
    }

    ManualClock clock;
    QWidget window;
    QLineEdit* line = new QLineEdit;
    QuimbelKeyboard* keyboard = new QuimbelKeyboard;
    Fingers fingers{keyboard, {}};
};

TEST_F(TouchOnQuimbelKeyboard, EveryFingerTypesItsOwnKeyWhenItLifts) {
    QSignalSpy pressed(keyboard, &QuimbelKeyboard::keyPressed);
    const QPoint a = at("a"), b = at("b"), c = at("c");
    // Two fingers: b goes down, c goes down, b lifts, c lifts.
    fingers.press(0, b);
    fingers.press(1, c);
    EXPECT_EQ(line->text(), "");
    EXPECT_EQ(pressed.count(), 2);
    fingers.release(0, b);
    EXPECT_EQ(line->text(), "b");
    fingers.release(1, c);
    EXPECT_EQ(line->text(),
              "bc"); // once each: the mouse events Qt may make of touches type nothing
    // Three fingers, lifted in another order than pressed.
    fingers.press(0, a);
    fingers.press(1, b);
    fingers.press(2, c);
    fingers.release(2, c);
    fingers.release(0, a);
    fingers.release(1, b);
    EXPECT_EQ(line->text(), "bccab");
    EXPECT_EQ(pressed.count(), 5);
    EXPECT_EQ(pressed.at(0).at(0).toString(), "b");
    // The held key shows enlarged above the finger, but never over a password field.
    quimbel::TKeyboard* model = keyboard->keyboard();
    fingers.press(0, a);
    ASSERT_NE(model->GetPreviewKey(), nullptr);
    EXPECT_TRUE(model->GetPreviewKey()->GetVisible());
    EXPECT_EQ(model->GetPreviewKey()->GetCaption(), "a");
    EXPECT_GT(model->GetPreviewKey()->GetHeight(),
              model->SearchKey("a", quimbel::klNormal)->Control->GetHeight());
    // A second finger's key takes the preview; lifting it shows the first one's again.
    fingers.press(1, b);
    EXPECT_EQ(model->GetPreviewKey()->GetCaption(), "b");
    fingers.release(1, b);
    EXPECT_TRUE(model->GetPreviewKey()->GetVisible());
    EXPECT_EQ(model->GetPreviewKey()->GetCaption(), "a");
    fingers.release(0, a);
    EXPECT_FALSE(model->GetPreviewKey()->GetVisible());
    line->setEchoMode(QLineEdit::Password);
    fingers.press(0, a);
    EXPECT_FALSE(model->GetPreviewKey()->GetVisible());
    fingers.release(0, a);
    line->setEchoMode(QLineEdit::Normal);
    EXPECT_EQ(line->text(), "bccabbaa");
    // A finger that slides off its key before lifting types nothing.
    fingers.press(0, a);
    fingers.move(0, at("Esc"));
    fingers.release(0, at("Esc"));
    EXPECT_EQ(line->text(), "bccabbaa");
}

TEST_F(TouchOnQuimbelKeyboard, ShiftHeldByOneFingerAppliesToTheOthersAndEndsWithIt) {
    const QPoint shift = at("Shift");
    fingers.press(0, shift);
    EXPECT_TRUE(keyboard->isShift());
    fingers.tap(1, at("A"));
    fingers.tap(1, at("B"));
    EXPECT_TRUE(keyboard->isShift()); // still held
    fingers.release(0, shift);
    EXPECT_FALSE(keyboard->isShift());
    fingers.tap(1, at("c"));
    EXPECT_EQ(line->text(), "ABc");
    // A plain tap of Shift stays a one-shot Shift for the next key, as a click is.
    fingers.tap(0, shift);
    fingers.tap(1, at("A"));
    fingers.tap(1, at("b"));
    EXPECT_EQ(line->text(), "ABcAb");
}

TEST_F(TouchOnQuimbelKeyboard, HeldKeysRepeatOnTheClockAndRepeatWhatTheFirstTyped) {
    line->setText("abcdefghij");
    const QPoint backspace = at("Backspace");
    fingers.press(0, backspace);
    clock.advance(499);
    EXPECT_EQ(line->text(), "abcdefghij");
    clock.advance(1); // the delay: the first action
    EXPECT_EQ(line->text(), "abcdefghi");
    clock.advance(150); // then 20 a second
    EXPECT_EQ(line->text(), "abcdef");
    fingers.release(0, backspace); // a key that repeated does not type again on lifting
    clock.advance(1000);
    EXPECT_EQ(line->text(), "abcdef");

    // Shift, then holding b: the first b releases the one-shot Shift, the repeats stay capitals.
    line->clear();
    fingers.tap(0, at("Shift"));
    const QPoint b = at("B");
    fingers.press(0, b);
    clock.advance(600);
    fingers.release(0, b);
    EXPECT_EQ(line->text(), "BBB");
    EXPECT_FALSE(keyboard->isShift());

    // Modifiers never repeat; a slow release of Shift is a tap like any other.
    fingers.press(0, at("Shift"));
    clock.advance(2000);
    fingers.release(0, at("Shift"));
    EXPECT_TRUE(keyboard->isShift());
}

TEST_F(TouchOnQuimbelKeyboard, LongPressOpensTheAccentsOfTheCodePageAndSlidingChoosesOne) {
    quimbel::TKeyboard* model = keyboard->keyboard();
    const QPoint e = at("e");
    fingers.press(0, e);
    clock.advance(500);
    const auto& row = model->GetAlternateKeys();
    ASSERT_EQ(row.size(), 4u);
    vcl::AnsiString captions;
    for (vcl::TSpeedButton* k : row)
        captions += k->GetCaption();
    EXPECT_EQ(captions, "\xE8\xE9\xEA\xEB"); // è é ê ë, in code-page order
    EXPECT_EQ(row[1]->GetName(), "AlternateKey2");
    // Slide onto é (the row lies in the keyboard's own widget) and lift.
    QWidget* surface = vcl::qt::WidgetOf(model);
    const QPoint eAcute = surface->mapTo(
        keyboard, QPoint(row[1]->GetLeft() + row[1]->GetWidth() / 2, row[1]->GetTop() + 2));
    fingers.move(0, eAcute);
    EXPECT_EQ(row[1]->GetState(), vcl::bsDown);
    // QUIMBEL_PICTURES=DIR keeps what the window shows now, for the documentation.
    if (qEnvironmentVariableIsSet("QUIMBEL_PICTURES"))
        window.grab().save(qEnvironmentVariable("QUIMBEL_PICTURES") + "/long-press.png");
    fingers.release(0, eAcute);
    EXPECT_EQ(line->text(), QString::fromUtf8("é"));
    EXPECT_TRUE(model->GetAlternateKeys().empty());
    // Lifting elsewhere types nothing; a key the application cleared repeats instead.
    fingers.press(0, e);
    clock.advance(500);
    EXPECT_FALSE(model->GetAlternateKeys().empty());
    fingers.release(0, e);
    EXPECT_EQ(line->text(), QString::fromUtf8("é"));
    model->SetKeyAlternates(model->SearchKey("e", quimbel::klNormal), "");
    fingers.press(0, e);
    clock.advance(550);
    fingers.release(0, e);
    EXPECT_EQ(line->text(), QString::fromUtf8("éee"));
    EXPECT_TRUE(model->GetAlternateKeys().empty());
}

TEST_F(TouchOnQuimbelKeyboard, TheMouseHeldDownRepeatsAndOpensTheAlternatesToo) {
    quimbel::TKeyboard* model = keyboard->keyboard();
    QWidget* surface = vcl::qt::WidgetOf(model);
    auto on = [&](QPoint p) { return surface->mapFrom(keyboard, p); };
    line->setText("abcdef");
    QTest::mousePress(surface, Qt::LeftButton, {}, on(at("Backspace")));
    clock.advance(550);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, on(at("Backspace")));
    EXPECT_EQ(line->text(), "abcd"); // at 500 and 550 ms; the release adds no click of its own
    QTest::mouseClick(surface, Qt::LeftButton, {}, on(at("x")));
    EXPECT_EQ(line->text(), "abcdx");

    QTest::mousePress(surface, Qt::LeftButton, {}, on(at("e")));
    clock.advance(500);
    const auto& row = model->GetAlternateKeys();
    ASSERT_EQ(row.size(), 4u);
    const QPoint eGrave = surface->mapTo(
        keyboard, QPoint(row[0]->GetLeft() + row[0]->GetWidth() / 2, row[0]->GetTop() + 2));
    QTest::mouseMove(surface, on(eGrave));
    EXPECT_EQ(row[0]->GetState(), vcl::bsDown);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, on(eGrave));
    EXPECT_EQ(line->text(), QString::fromUtf8("abcdxè"));
    EXPECT_TRUE(model->GetAlternateKeys().empty());
    // Released back on the key itself, the row types nothing.
    QTest::mousePress(surface, Qt::LeftButton, {}, on(at("e")));
    clock.advance(500);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, on(at("e")));
    EXPECT_EQ(line->text(), QString::fromUtf8("abcdxè"));
    QTest::mouseClick(surface, Qt::LeftButton, {}, on(at("e")));
    EXPECT_EQ(line->text(), QString::fromUtf8("abcdxèe"));
}

TEST(KeyAlternates, AreTheCanonicalDecompositionsOfTheActiveCodePage) {
    struct Case {
        int page;
        const char* key;
        const char* alternates;
    } cases[] = {
        {1252, "e", "\xE8\xE9\xEA\xEB"},
        {1252, "E", "\xC8\xC9\xCA\xCB"},
        {1250, "s", "\x9A\x9C\xBA"}, // š ś ş
        {1251, "\xE8", "\xE9"},      // и: й
        {1253, "\xE1", "\xDC"},      // α: ά
        {1252, "x", ""},
        {1252, "ab", ""},
    };
    for (const Case& c : cases) {
        vcl::SetAnsiCodePage(c.page);
        EXPECT_EQ(quimbel::FindAlternates(c.key), c.alternates) << c.page << " " << c.key;
    }
    vcl::SetAnsiCodePage(1252);
    EXPECT_TRUE(quimbel::IsLetterChar(U'ß'));
    EXPECT_TRUE(quimbel::IsLetterChar(U'й'));
    EXPECT_FALSE(quimbel::IsLetterChar(U'1'));
    EXPECT_FALSE(quimbel::IsLetterChar(U'×'));
}

// A TKeyboard of its own, shown through the widgetset, typing into its OnKey.
class TouchOnTKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::SetAnsiCodePage(1252);
        if (!vcl::qt::QtWidgetset()) vcl::qt::InstallQtWidgetset();
        kb = new quimbel::TKeyboard(nullptr);
        kb->LoadLayoutResource("us");
        kb->SetBounds(0, 0, 740, 240);
        kb->SetMultiTouch(true);
        kb->SetClock(&clock);
        kb->OnKey = [this](vcl::TObject*, quimbel::TKey*, quimbel::TKeyLevel,
                           vcl::AnsiString Value) { typed += Value; };
        kb->Show();
        surface = vcl::qt::WidgetOf(kb);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(surface));
        fingers.widget = surface;
    }
    void TearDown() override { delete kb; }
    QPoint at(const char* caption) {
        quimbel::TKey* key = kb->SearchKey(caption, kb->GetKeyLevel());
        if (!key) key = kb->SearchKey(caption, quimbel::klNormal);
        if (!key) key = kb->SearchKey(quimbel::ktCapsLock, caption, quimbel::klNormal);
        if (!key) key = kb->SearchKey(quimbel::ktShift, caption, quimbel::klNormal);
        if (!key) key = kb->SearchKey(quimbel::ktAltGr, caption, quimbel::klNormal);
        EXPECT_NE(key, nullptr) << caption;
        const vcl::TControl* b = key->Control;
        return QPoint(b->GetLeft() + b->GetWidth() / 2, b->GetTop() + b->GetHeight() / 2);
    }
    void tap(const char* caption) { fingers.tap(0, at(caption)); }

    ManualClock clock;
    quimbel::TKeyboard* kb = nullptr;
    QWidget* surface = nullptr;
    Fingers fingers{nullptr, {}};
    vcl::AnsiString typed;
};

TEST_F(TouchOnTKeyboard, DoubleTapsLockShiftForLettersAndAltGr) {
    // Off, a double tap is two taps: Shift on, then off.
    tap("Shift");
    clock.advance(100);
    tap("Shift");
    EXPECT_FALSE(kb->GetShiftState());

    kb->SetLatchModifiers(true);
    quimbel::TKeyControl* shiftButton =
        kb->SearchKey(quimbel::ktShift, "", quimbel::klNormal)->Control;
    tap("Shift");
    clock.advance(399);
    tap("Shift");
    EXPECT_TRUE(kb->GetShiftLocked());
    EXPECT_EQ(shiftButton->GetState(), vcl::bsDown); // drawn down as well as highlighted
    tap("A");
    tap("1");
    tap("B");
    EXPECT_EQ(typed, "A1B");
    tap("Shift");
    EXPECT_FALSE(kb->GetShiftState());
    EXPECT_EQ(shiftButton->GetState(), vcl::bsUp);
    // Too slow for a double tap: the second tap switches the one-shot Shift off.
    tap("Shift");
    clock.advance(401);
    tap("Shift");
    EXPECT_FALSE(kb->GetShiftState());

    // Alt Gr locks as well, and stays for every key until tapped again.
    typed.clear();
    tap("Alt Gr");
    clock.advance(200);
    tap("Alt Gr");
    EXPECT_TRUE(kb->GetAltGrLocked());
    tap("\xE1"); // á on a
    tap("\xA9"); // © on c
    tap("Alt Gr");
    tap("a");
    EXPECT_EQ(typed, "\xE1\xA9"
                     "a");
}

TEST_F(TouchOnTKeyboard, CapsLockForLettersOnlyLeavesDigitsAlone) {
    tap("Caps Lock");
    tap("A");
    tap("!"); // by default Caps Lock reads every key at the Shift level
    EXPECT_EQ(typed, "A!");
    kb->SetCapsLockLettersOnly(true);
    EXPECT_EQ(kb->SearchKey("1", quimbel::klNormal)->Control->GetCaption(), "1"); // not "!"
    tap("A");
    tap("1");
    EXPECT_EQ(typed, "A!A1");
    EXPECT_TRUE(kb->GetCapsState());
    tap("Caps Lock");
    tap("a");
    EXPECT_EQ(typed, "A!A1a");
}

// Greek types its capital vowels with tonos through a dead key; here a long press on the
// capital offers them.
TEST_F(TouchOnTKeyboard, GreekCapitalVowelsWithTonosComeFromALongPress) {
    vcl::SetAnsiCodePage(1253);
    kb->LoadLayoutResource("el");
    kb->SetLongPressAlternates(true);
    tap("Shift");
    const QPoint alpha = at("\xC1"); // Α
    fingers.press(0, alpha);
    clock.advance(500);
    const auto& row = kb->GetAlternateKeys();
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0]->GetCaption(), "\xA2"); // Ά
    const QPoint tonos(row[0]->GetLeft() + row[0]->GetWidth() / 2, row[0]->GetTop() + 2);
    fingers.move(0, tonos);
    fingers.release(0, tonos);
    EXPECT_EQ(typed, "\xA2");
    // Ε Η Ι Ο Υ Ω: Έ Ή Ί Ό Ύ Ώ
    const char* vowels = "\xC5\xC7\xC9\xCF\xD5\xD9";
    const char* withTonos = "\xB8\xB9\xBA\xBC\xBE\xBF";
    for (int i = 0; i < 6; ++i) {
        const quimbel::TKey* key = kb->SearchKey(vcl::AnsiString(1, vowels[i]), quimbel::klShift);
        ASSERT_NE(key, nullptr) << i;
        EXPECT_NE(kb->KeyAlternates(key, quimbel::klShift).find(withTonos[i]), std::string::npos)
            << i;
    }
}

TEST(TouchOptions, StreamNothingAtTheirDefaultsAndRoundTripOtherwise) {
    auto write = [](quimbel::TKeyboard* kb) { return testsupport::StreamedBytes(kb); };
    quimbel::TKeyboard plain(nullptr);
    plain.SetName("Keyboard1");
    const std::string classic = write(&plain);
    for (const char* name : {"KeyRepeat", "RepeatDelay", "MultiTouch", "ScaleCaptions",
                             "LatchModifiers", "CapsLockLettersOnly", "KeyPreview"})
        EXPECT_EQ(classic.find(name), std::string::npos) << name;

    plain.SetRepeatDelay(300);
    plain.SetCapsLockLettersOnly(true);
    const std::string changed = write(&plain);
    EXPECT_NE(changed.find("RepeatDelay"), std::string::npos);
    quimbel::TKeyboard read(nullptr);
    testsupport::ReadBytes(changed, &read);
    EXPECT_EQ(read.GetRepeatDelay(), 300);
    EXPECT_TRUE(read.GetCapsLockLettersOnly());
    EXPECT_FALSE(read.GetKeyRepeat());
}

} // namespace
