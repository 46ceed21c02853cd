#pragma once
// Native menus for the model's menus: the QMenu of a popup menu and the QMenuBar of a form's
// main menu. Captions keep their "&" hotkey marks, which Qt reads the same way.

#include <QKeySequence>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vcl {
class TMainMenu;
class TMenuItem;
} // namespace vcl

namespace vcl::qt {

// The key sequence of a shortcut value (vcl::ShortCut); empty when the key has no Qt key.
QKeySequence ShortCutToKeySequence(int ShortCut);

// Fills Menu with the visible sub-items of Parent, a submenu for an item with sub-items and a
// separator for the caption "-". Each is told about the action made for every other item.
void FillMenu(QMenu* Menu, vcl::TMenuItem* Parent,
              const std::function<void(QAction*, vcl::TMenuItem*)>& Each);

// A menu bar on Window showing a form's main menu. Choosing an item, or pressing its shortcut
// while the window is active, clicks the item in the model.
QMenuBar* CreateMenuBar(QWidget* Window, vcl::TMainMenu* Menu);

} // namespace vcl::qt
