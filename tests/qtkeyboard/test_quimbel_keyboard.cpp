// QuimbelKeyboard in a Qt window: typing by real clicks into the focused text widget, its
// signals and properties, layouts, and the Qt Designer plugin that creates it.

#include "qtkeyboard/QuimbelKeyboard.h"

#include "QtApplication.h"

#include "qt/QtWidgetset.h"
#include "runtime/Keyboard.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPluginLoader>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#ifdef DESIGNER_PLUGIN
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#endif

#include <memory>

namespace {

const auto* const application = ::testing::AddGlobalTestEnvironment(new QtApplication);

QString textOf(QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* e = qobject_cast<QTextEdit*>(w)) return e->toPlainText();
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
    return {};
}

class QuimbelKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* column = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(line), static_cast<QWidget*>(rich),
                           static_cast<QWidget*>(plain), static_cast<QWidget*>(button)})
            column->addWidget(w);
        column->addWidget(keyboard, 1);
        window.resize(760, 560);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void click(const QString& caption) {
        const QRect r = keyboard->keyRect(caption);
        ASSERT_FALSE(r.isEmpty()) << caption.toStdString();
        QWidget* surface = keyboard->childAt(r.center());
        ASSERT_NE(surface, nullptr);
        QTest::mouseClick(surface, Qt::LeftButton, {}, surface->mapFrom(keyboard, r.center()));
    }

    QWidget window;
    QLineEdit* line = new QLineEdit;
    QTextEdit* rich = new QTextEdit;
    QPlainTextEdit* plain = new QPlainTextEdit;
    QPushButton* button = new QPushButton("OK");
    QuimbelKeyboard* keyboard = new QuimbelKeyboard;
};

TEST_F(QuimbelKeyboardTest, FollowsTheFocusAcrossTextWidgetsAndNeverTakesIt) {
    keyboard->setFollowFocus(true);
    QSignalSpy typed(keyboard, &QuimbelKeyboard::keyTyped);
    const struct {
        QWidget* focus;
        QStringList captions;
        QWidget* target;
        QString text;
    } steps[] = {
        {line, {"Shift", "A", "b"}, line, "Ab"},
        {rich, {"c", " ", "1"}, rich, "c 1"},
        {plain, {"x", "Backspace", "y"}, plain, "y"},
        {button, {"z"}, plain, "yz"}, // a button takes no text: the last text widget stays
    };
    for (const auto& step : steps) {
        step.focus->setFocus();
        QApplication::processEvents();
        for (const QString& caption : step.captions) click(caption);
        EXPECT_EQ(keyboard->target(), step.target);
        EXPECT_EQ(textOf(step.target), step.text);
        EXPECT_EQ(QApplication::focusWidget(), step.focus);
    }
    ASSERT_GE(typed.count(), 2);
    EXPECT_EQ(typed.at(0).at(0).toString() + typed.at(1).at(0).toString(), "Ab");

    // Without following, the focus no longer moves the target.
    keyboard->setFollowFocus(false);
    line->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(keyboard->target(), plain);

    // A target that goes away leaves the keyboard typing nowhere.
    keyboard->setTarget(line);
    delete line;
    line = nullptr;
    EXPECT_EQ(keyboard->target(), nullptr);
    click("q");
}

TEST_F(QuimbelKeyboardTest, ReportsItsStatesOnceAndKeepsItsProperties) {
    QSignalSpy shift(keyboard, &QuimbelKeyboard::shiftChanged);
    QSignalSpy caps(keyboard, &QuimbelKeyboard::capsLockChanged);
    QSignalSpy altGr(keyboard, &QuimbelKeyboard::altGrChanged);
    keyboard->setTarget(line);
    click("Shift");
    click("Q"); // Shift ends after one character
    keyboard->setCapsLock(true);
    keyboard->setCapsLock(true);
    keyboard->setAltGr(true);
    EXPECT_EQ(line->text(), "Q");
    EXPECT_EQ(shift.count(), 4); // on, off, on with Caps Lock, off again when Alt Gr came on
    EXPECT_EQ(caps.count(), 2);
    EXPECT_EQ(altGr.count(), 1);
    EXPECT_TRUE(keyboard->isAltGr());
    EXPECT_FALSE(keyboard->isCapsLock());

    // Properties as Qt Designer and QML-style code set them.
    EXPECT_TRUE(keyboard->setProperty("highlightColor", QColor(10, 20, 30)));
    EXPECT_TRUE(keyboard->setProperty("beep", true));
    EXPECT_TRUE(keyboard->setProperty("charCase", QuimbelKeyboard::UpperCase));
    EXPECT_EQ(keyboard->property("highlightColor").value<QColor>(), QColor(10, 20, 30));
    EXPECT_TRUE(keyboard->property("beep").toBool());
    EXPECT_EQ(keyboard->charCase(), QuimbelKeyboard::UpperCase);
    EXPECT_EQ(keyboard->focusPolicy(), Qt::NoFocus);
}

TEST_F(QuimbelKeyboardTest, StepScanningTakesItsSwitchesFromKeysAndTheMouse) {
    keyboard->setTarget(line);
    keyboard->setSwitchScanning(QuimbelKeyboard::StepScanning);
    line->setFocus();
    quimbel::TKeyScanner& s = *keyboard->keyboard()->Scanner();
    quimbel::TKey* q = keyboard->keyboard()->SearchKey("q", quimbel::klNormal);
    ASSERT_NE(q, nullptr);
    for (int i = 0; i < 10 && !(s.CurrentKey() < 0 && q->Control->GetAssistMark().Selected); ++i)
        QTest::keyClick(line, Qt::Key_Return);
    QTest::keyClick(line, Qt::Key_Space);
    for (int i = 0; i < 20 && s.SelectedKey() != q; ++i)
        QTest::keyClick(line, Qt::Key_Return);
    click("z"); // the left button is the switch wherever it is pressed on the keyboard
    EXPECT_EQ(line->text(), "q");

    keyboard->setSwitchKey(Qt::Key_F5);
    keyboard->setSwitchButton(Qt::MiddleButton);
    EXPECT_EQ(keyboard->switchKey(), Qt::Key_F5);
    EXPECT_EQ(keyboard->switchButton(), Qt::MiddleButton);
    click("z");
    QTest::keyClick(line, Qt::Key_Space);
    EXPECT_EQ(line->text(), "qz ");
    keyboard->setSwitchScanning(QuimbelKeyboard::NoScanning);
    QTest::keyClick(line, Qt::Key_F5);
    click("x");
    EXPECT_EQ(line->text(), "qz x");
}

TEST_F(QuimbelKeyboardTest, LoadsBuiltInLayoutsAndFilesAndKeepsItsKeysOnFailure) {
    QSignalSpy changed(keyboard, &QuimbelKeyboard::keyLayoutChanged);
    EXPECT_EQ(keyboard->keyLayout(), "us");
    const struct {
        QString layout;
        bool loads;
        QString caption; // a key the keyboard shows afterwards
    } cases[] = {
        {"de", true, "Umschalt"},
        {"no-such-layout", false, "Umschalt"},
        {LAYOUT_FILES "/missing.kly", false, "Umschalt"},
        {LAYOUT_FILES "/numpad.kly", true, "7"},
        {"US", true, "Shift"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keyboard->loadKeyLayout(c.layout), c.loads) << c.layout.toStdString();
        EXPECT_EQ(keyboard->errorString().isEmpty(), c.loads) << keyboard->errorString().toStdString();
        EXPECT_FALSE(keyboard->keyRect(c.caption).isEmpty()) << c.layout.toStdString();
    }
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(keyboard->keyLayout(), "US");
}

TEST_F(QuimbelKeyboardTest, CharCaseChangesWhatKeyTypedReportsNotWhatTheKeysType) {
    QSignalSpy typed(keyboard, &QuimbelKeyboard::keyTyped);
    keyboard->setTarget(line);
    keyboard->setCharCase(QuimbelKeyboard::UpperCase);
    click("q");
    keyboard->setCharCase(QuimbelKeyboard::LowerCase);
    click("Shift");
    click("W");
    EXPECT_EQ(line->text(), "qW");
    ASSERT_EQ(typed.count(), 2);
    EXPECT_EQ(typed[0][0].toString(), "Q");
    EXPECT_EQ(typed[1][0].toString(), "w");
}

// Before its window is shown, the widgetset applies window flags again whenever the keyboard's
// children change; its surface stays a child of the QuimbelKeyboard through every load, failed
// ones included, and after the window is shown.
TEST(QuimbelKeyboardSurface, StaysEmbeddedAfterLoadingAnotherLayout) {
    QWidget window;
    auto* keyboard = new QuimbelKeyboard(&window);
    const QPointer<QWidget> surface = vcl::qt::WidgetOf(keyboard->keyboard());
    const auto embedded = [&](const char* when) {
        ASSERT_EQ(vcl::qt::WidgetOf(keyboard->keyboard()), surface) << when;
        EXPECT_FALSE(surface->isWindow()) << when;
        EXPECT_EQ(surface->parentWidget(), keyboard) << when;
    };
    embedded("made");
    for (const char* layout : {"de", "no-such-layout", "numpad"}) {
        keyboard->loadKeyLayout(layout);
        embedded(layout);
    }
    window.resize(760, 260);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    keyboard->loadKeyLayout("us");
    embedded("us, shown");
    EXPECT_TRUE(surface->isVisible());
    EXPECT_FALSE(keyboard->keyRect("Shift").isEmpty());
}

#ifdef DESIGNER_PLUGIN
TEST(QuimbelDesignerPlugin, OffersTheKeyboardInTheTouchScreenGroup) {
    QPluginLoader loader(DESIGNER_PLUGIN);
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    ASSERT_NE(collection, nullptr) << loader.errorString().toStdString();
    ASSERT_EQ(collection->customWidgets().size(), 1);
    QDesignerCustomWidgetInterface* widget = collection->customWidgets().front();
    EXPECT_EQ(widget->name(), "QuimbelKeyboard");
    EXPECT_EQ(widget->group(), "Touch Screen");
    EXPECT_EQ(widget->includeFile(), "QuimbelKeyboard");
    EXPECT_TRUE(widget->domXml().contains("class=\"QuimbelKeyboard\""));
    QWidget parent;
    QWidget* created = widget->createWidget(&parent);
    ASSERT_NE(qobject_cast<QuimbelKeyboard*>(created), nullptr);
    EXPECT_EQ(created->parent(), &parent);
}
#endif

} // namespace
