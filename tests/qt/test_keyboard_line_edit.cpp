// A keyboard on the built-in German layout typing into a real QLineEdit of a Qt program, through
// real mouse clicks on its widget.

#include "runtime/Quimbel.h"

#include "qt/QtWidgetset.h"
#include "rtl/CodePage.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

using quimbel::TKey;
using quimbel::TKeyboard;

class KeyboardInQt : public ::testing::Test {
protected:
    void SetUp() override { vcl::qt::InstallQtWidgetset(); }
    void TearDown() override {
        delete keyboard;
        delete linked;
        window.reset();
        vcl::qt::UninstallQtWidgetset();
    }

    // The middle of a key's button, in the keyboard widget's coordinates.
    QPoint middleOf(const TKey* key) const {
        const vcl::TControl* b = key->Control;
        return QPoint(b->GetLeft() + b->GetWidth() / 2, b->GetTop() + b->GetHeight() / 2);
    }
    void click(TKey* key) {
        QTest::mouseClick(vcl::qt::WidgetOf(keyboard), Qt::LeftButton, {}, middleOf(key));
    }
    // Clicks the key that shows the caption: a normal key at the level in force, any other key
    // at the normal level (its button never changes caption).
    void click(const char* caption) {
        TKey* key = keyboard->SearchKey(caption, keyboard->GetKeyLevel());
        for (int i = 0; !key && i < keyboard->GetKeys()->GetCount(); ++i) {
            TKey* k = keyboard->GetKeys()->GetItem(i);
            if (k->KeyType != quimbel::ktNormal && k->GetKeyCaption(quimbel::klNormal) == caption)
                key = k;
        }
        ASSERT_NE(key, nullptr) << caption;
        click(key);
    }

    // A window with a line edit over a keyboard with the built-in layout, linked to it.
    QLineEdit* showLayout(const char* name, QSize size) {
        window = std::make_unique<QWidget>();
        auto* line = new QLineEdit(window.get());
        keyboard = new TKeyboard(nullptr);
        auto keys = std::make_unique<quimbel::TKeyCollection>();
        quimbel::LoadLayoutResource(keys.get(), name);
        keyboard->SetKeys(keys.release());
        linked = new vcl::qt::TQtWidgetControl(nullptr, line);
        keyboard->SetLinkedControl(linked);
        auto* layout = new QVBoxLayout(window.get());
        layout->addWidget(line);
        layout->addWidget(vcl::qt::WidgetOf(keyboard), 1);
        window->resize(size);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        line->setFocus();
        return line;
    }

    std::unique_ptr<QWidget> window;
    vcl::qt::TQtWidgetControl* linked = nullptr;
    TKeyboard* keyboard = nullptr;
};

TEST_F(KeyboardInQt, RussianAndGreekLayoutsTypeTheirScripts) {
    struct Case {
        const char* Layout;
        std::vector<const char*> Captions; // UTF-8
        const char* Typed;
    };
    const Case cases[] = {
        {"ru",
         {"Shift", "П", "р", "и", "в", "е", "т", "Shift", ",", " ", "ё", "Alt Gr", "q", "Shift",
          "№"},
         "Привет, ёq№"},
        {"el",
         {"Shift", "Κ", "α", "λ", "η", "μ", "Alt Gr", "έ", "ρ", "α", " ", "κ", "Alt Gr", "ό", "σ",
          "μ", "ε", " ", "ς"},
         "Καλημέρα κόσμε ς"},
    };
    const int saved = vcl::GetAnsiCodePage();
    for (const Case& c : cases) {
        vcl::SetAnsiCodePage(quimbel::BuiltInLayoutCodePage(c.Layout));
        QLineEdit* line = showLayout(c.Layout, QSize(760, 300));
        for (const char* caption : c.Captions)
            click(vcl::Utf8ToAnsiStrict(caption).c_str());
        EXPECT_EQ(line->text(), QString::fromUtf8(c.Typed)) << c.Layout;
        delete keyboard;
        keyboard = nullptr;
        delete linked;
        linked = nullptr;
        window.reset();
    }
    vcl::SetAnsiCodePage(saved);
}

TEST_F(KeyboardInQt, TypesIntoAQLineEditThroughClicksAndFollowsTheWindowSize) {
    QLineEdit* line = showLayout("de", QSize(760, 300));
    ASSERT_FALSE(HasFailure());

    // The keyboard fills what the layout gives it, less its 16-pixel right margin; the layout is
    // 148 units wide, and each 8 units may lose a pixel to truncation.
    QWidget* surface = vcl::qt::WidgetOf(keyboard);
    EXPECT_EQ(keyboard->GetWidth(), surface->width());
    const vcl::TControl* right = keyboard->GetKeys()->GetItem(78)->Control; // the right arrow
    auto fillsTheWidth = [&] {
        const int edge = right->GetLeft() + right->GetWidth();
        const int avail = 4 * (surface->width() / 4 - 4);
        EXPECT_LE(edge, avail);
        EXPECT_GE(edge, avail - 148 / 8 - 1);
    };
    fillsTheWidth();

    // Capitals through Shift, umlauts, a digit and Alt Gr characters.
    for (const char* caption :
         {"Umschalt", "G", "r", "\xFC", "\xDF", "e", " ", "2", "Alt Gr", "\x80", "Alt Gr", "@"})
        click(caption);
    EXPECT_EQ(line->text(), QString::fromUtf8("Grüße 2€@"));
    EXPECT_FALSE(keyboard->GetShiftState());
    EXPECT_FALSE(keyboard->GetAltGrState());

    // Editing keys act on the caret like real key presses.
    TKey* left = keyboard->SearchKey(quimbel::ktLeft, "", quimbel::klNormal);
    click(left);
    click(left);
    click("x");
    EXPECT_EQ(line->text(), QString::fromUtf8("Grüße 2x€@"));
    click("R\xFC"
          "ck");
    EXPECT_EQ(line->text(), QString::fromUtf8("Grüße 2€@"));
    click("Entf");
    EXPECT_EQ(line->text(), QString::fromUtf8("Grüße 2@"));
    EXPECT_EQ(line->cursorPosition(), 7);
    EXPECT_EQ(QApplication::focusWidget(), line); // clicks never took the focus

    // A wider window stretches the keys.
    const int before = right->GetWidth();
    window->resize(1200, 300);
    QApplication::processEvents();
    EXPECT_EQ(keyboard->GetWidth(), surface->width());
    EXPECT_GT(right->GetWidth(), before);
    fillsTheWidth();
}

} // namespace
