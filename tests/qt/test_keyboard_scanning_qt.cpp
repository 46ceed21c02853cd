// Switch scanning and dwell of a plain keyboard on a form, with the widgetset's own timers and
// real Qt key and mouse events.

#include "runtime/Quimbel.h"

#include "qt/QtWidgetset.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using quimbel::TKey;
using quimbel::TKeyboard;
using vcl::qt::WidgetOf;

class KeyboardScanningQt : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::qt::InstallQtWidgetset();
        form = std::make_unique<vcl::TForm>(nullptr);
        form->SetBounds(40, 40, 760, 320);
        edit = new vcl::TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(8, 8, 300, 24);
        keyboard = new TKeyboard(form.get());
        keyboard->SetParent(form.get());
        keyboard->SetBounds(8, 40, 720, 240);
        keyboard->LoadLayoutResource("us");
        keyboard->SetLinkedControl(edit);
        form->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(form.get())));
        line = qobject_cast<QLineEdit*>(WidgetOf(edit));
        ASSERT_NE(line, nullptr);
    }
    void TearDown() override {
        form.reset();
        vcl::qt::UninstallQtWidgetset();
    }
    TKey* keyFor(char c) const {
        return keyboard->SearchKey(keyboard->GetKeyLevel(), std::string(1, c));
    }

    std::unique_ptr<vcl::TForm> form;
    vcl::TEdit* edit = nullptr;
    TKeyboard* keyboard = nullptr;
    QLineEdit* line = nullptr;
};

TEST_F(KeyboardScanningQt, SpacePressedInTheEditTypesHelloThroughScanning) {
    keyboard->SetScanInterval(60);
    keyboard->SetSwitchScanning(quimbel::ssAutomatic);
    quimbel::TKeyScanner& s = *keyboard->Scanner();
    for (char c : std::string("hello")) {
        TKey* target = keyFor(c);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return s.CurrentKey() < 0 && target->Control->GetAssistMark().Selected;
        })) << c;
        QTest::keyClick(line, Qt::Key_Space);
        ASSERT_TRUE(QTest::qWaitFor([&] { return s.SelectedKey() == target; })) << c;
        QTest::keyClick(line, Qt::Key_Space);
    }
    EXPECT_EQ(line->text(), QStringLiteral("hello"));
    // Keys that are no switch type as ever.
    QTest::keyClick(line, Qt::Key_X);
    EXPECT_EQ(line->text(), QStringLiteral("hellox"));

    // What a person sees: the third row lit.
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.CurrentKey() < 0 && s.CurrentRow() == 2; }));
    QDir().mkpath(QUIMBEL_GRAB_DIR);
    WidgetOf(form.get())->grab().save(QString(QUIMBEL_GRAB_DIR) + "/scanning_row.png");

    // Freed while it scans: no timer calls into it afterwards.
    form.reset();
    QTest::qWait(200);
}

TEST_F(KeyboardScanningQt, RestingThePointerOnAKeyPressesItOnce) {
    keyboard->SetDwellTime(600);
    QWidget* surface = WidgetOf(keyboard);
    auto restOn = [&](char c) {
        const vcl::TControl* b = keyFor(c)->Control;
        QTest::mouseMove(surface, QPoint(b->GetLeft() + b->GetWidth() / 2, b->GetTop() + 4));
    };
    // Leaving the keyboard for the edit before the time is up presses nothing.
    restOn('s');
    QTest::qWait(100);
    QTest::mouseMove(line, line->rect().center());
    QTest::qWait(1000);
    EXPECT_EQ(line->text(), QString());
    restOn('a');
    ASSERT_TRUE(QTest::qWaitFor([&] { return !line->text().isEmpty(); }, 3000));
    QTest::qWait(1000);
    EXPECT_EQ(line->text(), QStringLiteral("a"));
}

} // namespace
