#include "qt/KeyInput.h"

#include <QApplication>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vcl::qt;

namespace {
constexpr unsigned VK_ESCAPE = 0x1B, VK_HOME = 0x24, VK_END = 0x23, VK_LEFT = 0x25, VK_RIGHT = 0x27,
                   VK_DELETE = 0x2E, VK_INSERT = 0x2D, VK_PRIOR = 0x21;
void Type(QWidget* w, const char* text) {
    for (const char* p = text; *p; ++p)
        SendCharMessage(w, static_cast<unsigned char>(*p));
}
} // namespace

TEST(KeyInput, MessagesEditALineEditLikeAPerson) {
    QLineEdit edit;
    edit.show();
    Type(&edit, "abc");
    EXPECT_EQ(edit.text(), "abc");
    EXPECT_EQ(edit.cursorPosition(), 3);
    SendCharMessage(&edit, 8); // Backspace
    EXPECT_EQ(edit.text(), "ab");
    SendKeyDownMessage(&edit, VK_LEFT);
    EXPECT_EQ(edit.cursorPosition(), 1);
    SendCharMessage(&edit, 0xE4); // inserted at the caret, not at the end
    EXPECT_EQ(edit.text(), QString::fromUtf8("aäb"));
    SendKeyDownMessage(&edit, VK_HOME);
    EXPECT_EQ(edit.cursorPosition(), 0);
    SendCharMessage(&edit, 0x80);
    EXPECT_EQ(edit.text(), QString::fromUtf8("€aäb"));
    SendKeyDownMessage(&edit, VK_END);
    EXPECT_EQ(edit.cursorPosition(), 4);
    SendKeyDownMessage(&edit, VK_LEFT);
    SendKeyDownMessage(&edit, VK_DELETE);
    EXPECT_EQ(edit.text(), QString::fromUtf8("€aä"));
    // Key presses carry no text: the letter keys of WM_KEYDOWN type nothing.
    SendKeyDownMessage(&edit, 'A');
    EXPECT_EQ(edit.text(), QString::fromUtf8("€aä"));
    EXPECT_EQ(edit.cursorPosition(), 3);
}

TEST(KeyInput, TypedCharactersKeepTheLineEditsRules) {
    QLineEdit edit;
    QSignalSpy edited(&edit, &QLineEdit::textEdited);
    edit.setText("hello");
    edit.setSelection(1, 3);
    EXPECT_TRUE(SendCharMessage(&edit, 'X')); // replaces the selection
    EXPECT_EQ(edit.text(), "hXo");
    EXPECT_EQ(edited.count(), 1);
    SendCharMessage(&edit, 0x01); // a control character types nothing
    EXPECT_EQ(edit.text(), "hXo");
    edit.setMaxLength(4);
    Type(&edit, "ab");
    EXPECT_EQ(edit.text(), "hXoa");
    QIntValidator digits;
    edit.setText("");
    edit.setValidator(&digits);
    Type(&edit, "1a2");
    EXPECT_EQ(edit.text(), "12");
    edit.setValidator(nullptr);
    edit.setReadOnly(true);
    EXPECT_FALSE(SendCharMessage(&edit, 'z'));
    edit.setReadOnly(false);
    edit.setEnabled(false);
    SendCharMessage(&edit, 'z');
    EXPECT_EQ(edit.text(), "12");
}

TEST(KeyInput, ReturnTabAndEscapeReachTheWidgetAsTheirKeys) {
    QLineEdit edit;
    QSignalSpy returned(&edit, &QLineEdit::returnPressed);
    Type(&edit, "x\r");
    EXPECT_EQ(returned.count(), 1);
    EXPECT_EQ(edit.text(), "x");

    QPlainTextEdit text;
    text.resize(200, 100);
    text.show();
    Type(&text, "a\tb\rc");
    EXPECT_EQ(text.toPlainText(), "a\tb\nc");
    SendKeyDownMessage(&text, VK_PRIOR); // a page up keeps the column: after the "a"
    EXPECT_EQ(text.textCursor().position(), 1);
    SendKeyDownMessage(&text, VK_INSERT); // no text, nothing typed
    SendKeyDownMessage(&text, VK_ESCAPE);
    EXPECT_EQ(text.toPlainText(), "a\tb\nc");
}

TEST(KeyInput, KeysGoWhereTheWidgetForwardsItsFocus) {
    QComboBox combo;
    combo.setEditable(true);
    Type(&combo, "Hi");
    EXPECT_EQ(combo.currentText(), "Hi");
    SendKeyDownMessage(&combo, VK_HOME);
    EXPECT_EQ(combo.lineEdit()->cursorPosition(), 0);
}

TEST(KeyInput, UnknownVirtualKeysSendNothing) {
    QLineEdit edit;
    EXPECT_FALSE(SendKeyDownMessage(&edit, 0xFF));
    EXPECT_FALSE(SendKeyDownMessage(nullptr, VK_LEFT));
    EXPECT_FALSE(SendCharMessage(nullptr, 'a'));
    EXPECT_EQ(VirtualKeyToQtKey(0x25), Qt::Key_Left);
    EXPECT_EQ(VirtualKeyToQtKey(0x22), Qt::Key_PageDown);
    EXPECT_EQ(VirtualKeyToQtKey(0x7B), Qt::Key_F12);
}
