#include "qt/KeyInput.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "qt/Codepage.h"

namespace vcl::qt {

namespace {

// A widget that forwards its focus (a combo box to its line edit, a scroll area to its viewport
// content) gets its keys where a person's keys would go.
QWidget* KeyReceiver(QWidget* w) {
    while (w && w->focusProxy())
        w = w->focusProxy();
    return w;
}

bool Deliver(QWidget* target, int key, const QString& text) {
    QWidget* receiver = KeyReceiver(target);
    if (!receiver) return false;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(receiver, &press);
    return press.isAccepted();
}

// A typed character reaches a plain line edit through QLineEdit::insert, which does what the
// edit does with a typed character (replaces the selection, checks the validator and the maximum
// length, emits textEdited) without the key event's shortcut matching, which costs more than the
// insertion itself. Subclasses, read-only or disabled edits and edits with a completer get the key
// event, since they may do more with it.
bool InsertIntoLineEdit(QWidget* target, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(KeyReceiver(target));
    if (!edit || edit->metaObject() != &QLineEdit::staticMetaObject || edit->isReadOnly() ||
        !edit->isEnabled() || edit->completer())
        return false;
    edit->insert(text);
    return true;
}

// Virtual-key codes and Qt keys of the keys that are neither letters, digits nor F keys.
constexpr struct {
    unsigned VirtualKey;
    int QtKey;
} namedKeys[] = {{0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x0D, Qt::Key_Return},
                 {0x1B, Qt::Key_Escape},    {0x20, Qt::Key_Space},  {0x21, Qt::Key_PageUp},
                 {0x22, Qt::Key_PageDown},  {0x23, Qt::Key_End},    {0x24, Qt::Key_Home},
                 {0x25, Qt::Key_Left},      {0x26, Qt::Key_Up},     {0x27, Qt::Key_Right},
                 {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete}};

} // namespace

int VirtualKeyToQtKey(unsigned vk) {
    for (const auto& k : namedKeys)
        if (k.VirtualKey == vk) return k.QtKey;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return static_cast<int>(vk);
    if (vk >= 0x70 && vk <= 0x87) return Qt::Key_F1 + static_cast<int>(vk - 0x70); // F1..F24
    return 0;
}

unsigned QtKeyToVirtualKey(int Key) {
    // The keypad's Enter and Shift+Tab are the same keys to the model.
    if (Key == Qt::Key_Enter) return 0x0D;
    if (Key == Qt::Key_Backtab) return 0x09;
    for (const auto& k : namedKeys)
        if (k.QtKey == Key) return k.VirtualKey;
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return static_cast<unsigned>(Key);
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24)
        return 0x70 + static_cast<unsigned>(Key - Qt::Key_F1);
    return 0;
}

bool SendCharMessage(QWidget* Target, unsigned Char) {
    const unsigned char byte = static_cast<unsigned char>(Char);
    switch (byte) {
    case 13:
        return Deliver(Target, Qt::Key_Return, QStringLiteral("\r"));
    case 9:
        return Deliver(Target, Qt::Key_Tab, QStringLiteral("\t"));
    case 8:
        return Deliver(Target, Qt::Key_Backspace, QStringLiteral("\b"));
    case 27:
        return Deliver(Target, Qt::Key_Escape, QString(QChar(27)));
    default:
        break;
    }
    const QChar ch(AnsiToUnicode(byte));
    const QString text(ch);
    if (ch.isPrint() && InsertIntoLineEdit(Target, text)) return true;
    // Qt names printable keys by their upper-case character, as a real keyboard reports them.
    const int key = ch.isLetter() ? ch.toUpper().unicode() : ch.unicode();
    return Deliver(Target, key, text);
}

bool SendKeyDownMessage(QWidget* Target, unsigned VirtualKey) {
    const int key = VirtualKeyToQtKey(VirtualKey);
    if (key == 0) return false;
    return Deliver(Target, key, QString());
}

} // namespace vcl::qt
