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

} // namespace

int VirtualKeyToQtKey(unsigned vk) {
    switch (vk) {
    case 0x08:
        return Qt::Key_Backspace;
    case 0x09:
        return Qt::Key_Tab;
    case 0x0D:
        return Qt::Key_Return;
    case 0x1B:
        return Qt::Key_Escape;
    case 0x20:
        return Qt::Key_Space;
    case 0x21:
        return Qt::Key_PageUp;
    case 0x22:
        return Qt::Key_PageDown;
    case 0x23:
        return Qt::Key_End;
    case 0x24:
        return Qt::Key_Home;
    case 0x25:
        return Qt::Key_Left;
    case 0x26:
        return Qt::Key_Up;
    case 0x27:
        return Qt::Key_Right;
    case 0x28:
        return Qt::Key_Down;
    case 0x2D:
        return Qt::Key_Insert;
    case 0x2E:
        return Qt::Key_Delete;
    default:
        break;
    }
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return static_cast<int>(vk);
    if (vk >= 0x70 && vk <= 0x87) return Qt::Key_F1 + static_cast<int>(vk - 0x70); // F1..F24
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
