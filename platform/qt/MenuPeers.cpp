#include "qt/MenuPeers.h"

#include "qt/Codepage.h"
#include "qt/KeyInput.h"
#include "qt/Peers.h"
#include "vcl/Menus.h"

#include <QMenu>
#include <QMenuBar>

namespace vcl::qt {

QKeySequence ShortCutToKeySequence(int ShortCut) {
    const int key = VirtualKeyToQtKey(static_cast<unsigned>(ShortCut & 0xFF));
    if (key == 0) return QKeySequence();
    int modifiers = 0;
    if (ShortCut & vcl::scShift) modifiers |= Qt::SHIFT;
    if (ShortCut & vcl::scCtrl) modifiers |= Qt::CTRL;
    if (ShortCut & vcl::scAlt) modifiers |= Qt::ALT;
    return QKeySequence(modifiers | key);
}

namespace {

// An action for an item that has no sub-items: its state, and its shortcut shown beside it.
void describe(QAction* Action, vcl::TMenuItem* Item) {
    Action->setEnabled(Item->GetEnabled());
    Action->setCheckable(Item->GetChecked() || Item->GetRadioItem());
    Action->setChecked(Item->GetChecked());
    Action->setShortcut(ShortCutToKeySequence(Item->GetShortCut()));
    if (Item->GetDefault()) {
        QFont f = Action->font();
        f.setBold(true);
        Action->setFont(f);
    }
}

// A QMenu or a QMenuBar: both take submenus, actions and separators alike.
template <class Container>
void fill(Container* Menu, vcl::TMenuItem* Parent,
          const std::function<void(QAction*, vcl::TMenuItem*)>& Each) {
    for (int i = 0; i < Parent->GetCount(); ++i) {
        vcl::TMenuItem* item = Parent->GetItem(i);
        if (!item->GetVisible()) continue;
        if (item->GetCaption() == "-") {
            Menu->addSeparator();
            continue;
        }
        const QString text = ToQString(item->GetCaption());
        if (item->GetCount() > 0) {
            QMenu* sub = Menu->addMenu(text);
            sub->setEnabled(item->GetEnabled());
            fill(sub, item, Each);
            continue;
        }
        QAction* a = Menu->addAction(text);
        describe(a, item);
        Each(a, item);
    }
}

} // namespace

void FillMenu(QMenu* Menu, vcl::TMenuItem* Parent,
              const std::function<void(QAction*, vcl::TMenuItem*)>& Each) {
    fill(Menu, Parent, Each);
}

QMenuBar* CreateMenuBar(QWidget* Window, vcl::TMainMenu* Menu) {
    auto* bar = new QMenuBar(Window);
    // The bar belongs to the form's own window on every platform.
    bar->setNativeMenuBar(false);
    // An item is clicked from the event that chose it, once Qt has closed the menu.
    fill(bar, Menu->GetItems(), [bar](QAction* Action, vcl::TMenuItem* Item) {
        QObject::connect(Action, &QAction::triggered, bar, [Item, alive = Item->LifeToken()] {
            if (*alive) RunFromEvent(Item, [Item] { Item->Click(); });
        });
    });
    return bar;
}

} // namespace vcl::qt
