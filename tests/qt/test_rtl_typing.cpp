// The Hebrew and Arabic built-in layouts typing into right-to-left line edits: the field holds
// the characters in the order they were typed, whatever direction it shows them in.

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

TEST(RightToLeft, HebrewAndArabicTypeInLogicalOrderIntoRightToLeftFields) {
    vcl::qt::InstallQtWidgetset();
    const int saved = vcl::GetAnsiCodePage();
    struct Case {
        const char* Layout;
        std::vector<const char*> Keys; // captions in UTF-8
        const char* Typed;
    };
    const Case cases[] = {
        {"il", {"ש", "ל", "ו", "ם", " ", "1", "2", " ", "Alt Gr", "₪"}, "שלום 12 ₪"},
        {"ara", {"م", "ر", "ح", "ب", "ا", " ", "3", " ", "Shift", "؟"}, "مرحبا 3 ؟"},
    };
    for (const Case& c : cases) {
        vcl::SetAnsiCodePage(quimbel::BuiltInLayoutCodePage(c.Layout));
        QWidget window;
        window.setLayoutDirection(Qt::RightToLeft);
        auto* line = new QLineEdit(&window);
        auto* keyboard = new TKeyboard(nullptr);
        auto keys = std::make_unique<quimbel::TKeyCollection>();
        quimbel::LoadLayoutResource(keys.get(), c.Layout);
        keyboard->SetKeys(keys.release());
        auto* linked = new vcl::qt::TQtWidgetControl(nullptr, line);
        keyboard->SetLinkedControl(linked);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(line);
        layout->addWidget(vcl::qt::WidgetOf(keyboard), 1);
        window.resize(760, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        line->setFocus();
        ASSERT_EQ(line->layoutDirection(), Qt::RightToLeft);

        auto click = [&](const char* utf8) {
            const vcl::AnsiString caption = vcl::Utf8ToAnsiStrict(utf8);
            TKey* key = keyboard->SearchKey(caption, keyboard->GetKeyLevel());
            for (int i = 0; !key && i < keyboard->GetKeys()->GetCount(); ++i) {
                TKey* k = keyboard->GetKeys()->GetItem(i);
                if (k->KeyType != quimbel::ktNormal &&
                    k->GetKeyCaption(quimbel::klNormal) == caption)
                    key = k;
            }
            ASSERT_NE(key, nullptr) << c.Layout << " " << utf8;
            const vcl::TControl* b = key->Control;
            QTest::mouseClick(
                vcl::qt::WidgetOf(keyboard), Qt::LeftButton, {},
                QPoint(b->GetLeft() + b->GetWidth() / 2, b->GetTop() + b->GetHeight() / 2));
        };
        for (const char* k : c.Keys)
            click(k);
        const QString typed = QString::fromUtf8(c.Typed);
        EXPECT_EQ(line->text(), typed) << c.Layout;
        EXPECT_EQ(line->cursorPosition(), typed.size()) << c.Layout;
        // Backspace takes back the character typed last, not the one shown leftmost.
        click("Backspace");
        EXPECT_EQ(line->text(), typed.left(typed.size() - 1)) << c.Layout;

        delete keyboard;
        delete linked;
    }
    vcl::SetAnsiCodePage(saved);
    vcl::qt::UninstallQtWidgetset();
}

} // namespace
