// QuimbelKeyboard as assistive technology and UI test tools see it, in process through Qt's
// accessibility interfaces (offscreen): every key a named button with its rectangle, a press
// action and the checked state of modifiers, and names that follow the level. (The offscreen
// platform has no accessibility bridge, so the change events are heard over AT-SPI only:
// tests/apps/atspi_keys.py.)

#include "qtkeyboard/QuimbelKeyboard.h"

#include "runtime/Keyboard.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <map>

namespace {

// The buttons below an accessible object, by name (the first of each name).
void collectButtons(QAccessibleInterface* i, std::map<QString, QAccessibleInterface*>& out) {
    for (int n = 0; n < i->childCount(); ++n) {
        QAccessibleInterface* c = i->child(n);
        if (!c) continue;
        if (c->role() == QAccessible::Button) out.emplace(c->text(QAccessible::Name), c);
        collectButtons(c, out);
    }
}

TEST(KeyboardAccessibility, KeysAreNamedButtonsThatPressAndFollowTheLevel) {
    QWidget window;
    auto* line = new QLineEdit(&window);
    auto* keyboard = new QuimbelKeyboard(&window);
    auto* column = new QVBoxLayout(&window);
    column->addWidget(line);
    column->addWidget(keyboard);
    keyboard->setTarget(line);
    window.resize(760, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(keyboard);
    ASSERT_NE(root, nullptr);
    std::map<QString, QAccessibleInterface*> keys;
    collectButtons(root, keys);
    for (const char* name :
         {"q", "a", "1", "Esc", "Enter", "Backspace", "Tab", "Shift", "Caps Lock", "Alt Gr",
          "Space", "Left arrow", "Right arrow", "Up arrow", "Down arrow", "Page up", "F1"})
        EXPECT_TRUE(keys.count(name)) << name;
    // No key is left nameless (the layout's blank and symbol keys included).
    EXPECT_FALSE(keys.count(QString()));
    // The group the keys belong to.
    QAccessibleInterface* a = keys["a"];
    ASSERT_NE(a->parent(), nullptr);
    EXPECT_EQ(a->parent()->role(), QAccessible::Grouping);
    EXPECT_GE(a->parent()->indexOfChild(a), 0);
    // The key's rectangle on the screen.
    const QRect onKeyboard = keyboard->keyRect("a");
    EXPECT_EQ(a->rect(), QRect(keyboard->mapToGlobal(onKeyboard.topLeft()), onKeyboard.size()));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(keyboard)->childAt(
                  a->rect().center().x(), a->rect().center().y()) != nullptr,
              true);

    // The press action is a click.
    QAccessibleActionInterface* press = a->actionInterface();
    ASSERT_NE(press, nullptr);
    EXPECT_TRUE(press->actionNames().contains(QAccessibleActionInterface::pressAction()));
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(line->text(), "a");

    // Shift through its action: checked, and the letters read as capitals, with events.
    QAccessibleInterface* shift = keys["Shift"];
    EXPECT_TRUE(shift->state().checkable);
    EXPECT_FALSE(shift->state().checked);
    shift->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(keyboard->isShift());
    EXPECT_TRUE(shift->state().checked);
    EXPECT_EQ(a->text(QAccessible::Name), "A");
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(line->text(), "aA");
    EXPECT_EQ(a->text(QAccessible::Name), "a");
    EXPECT_FALSE(shift->state().checked);

    // A new layout replaces the keys: the old objects are invalid, the new ones read the new
    // layout.
    keyboard->setKeyLayout("de");
    keys.clear();
    collectButtons(QAccessible::queryAccessibleInterface(keyboard), keys);
    EXPECT_TRUE(keys.count("Umschalt"));
    EXPECT_TRUE(keys.count("Enter")) << "the German return sign is read by what it does";
}

} // namespace
