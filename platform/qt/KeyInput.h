#pragma once
// Keyboard output into Qt widgets. The model speaks in window messages: WM_CHAR carries a
// character of the active ANSI code page, WM_KEYDOWN a virtual-key code. Both arrive
// synchronously, and the widget edits with its own rules (caret, selection, undo). A printable
// character for a plain QLineEdit that is writable, enabled and has no completer goes in through
// QLineEdit::insert, which does what the edit does with a typed character; everything else
// arrives as a key press, without a key release.

class QWidget;

namespace vcl::qt {

// The Qt key (Qt::Key) for a virtual-key code, or 0 when there is none.
int VirtualKeyToQtKey(unsigned VirtualKey);
// The virtual-key code of a Qt key (Qt::Key_Enter as Return, Qt::Key_Backtab as Tab), or 0 when
// there is none.
unsigned QtKeyToVirtualKey(int QtKey);

// WM_CHAR: 13 arrives as Return, 9 as Tab, 8 as Backspace, 27 as Escape, every other byte as
// the character it stands for in the active ANSI code page. Returns whether the widget accepted
// the key.
bool SendCharMessage(QWidget* Target, unsigned Char);
// WM_KEYDOWN: a press of the matching key with no text. Unknown codes send nothing and
// return false.
bool SendKeyDownMessage(QWidget* Target, unsigned VirtualKey);

} // namespace vcl::qt
