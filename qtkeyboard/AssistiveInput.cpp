#include "AssistiveInput.h"

#include "qt/Peers.h"
#include "qt/QtWidgetset.h"
#include "runtime/Keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace {
// Often enough for a smooth dwell bar; scanning steps at its own interval regardless.
constexpr int TickMilliseconds = 40;
} // namespace

QuimbelAssistiveInput::QuimbelAssistiveInput(QWidget* Keyboard, quimbel::TKeyboard* Model)
    : keyboard_(Keyboard), model_(Model) {
    timer_.setInterval(TickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

QuimbelAssistiveInput::~QuimbelAssistiveInput() {
    if (listening_) qApp->removeEventFilter(this);
}

void QuimbelAssistiveInput::Update() {
    const bool on = model_->GetSwitchScanning() != quimbel::ssNone || model_->GetDwellTime() > 0;
    if (on == listening_) return;
    listening_ = on;
    if (on) {
        qApp->installEventFilter(this);
        clock_.start();
        timer_.start();
    } else {
        qApp->removeEventFilter(this);
        timer_.stop();
        model_->Scanner()->PointerOver(nullptr);
    }
}

void QuimbelAssistiveInput::tick() {
    const int elapsed = static_cast<int>(clock_.restart());
    vcl::qt::RunFromEvent(model_, [&] { model_->Scanner()->Advance(elapsed); });
}

bool QuimbelAssistiveInput::onKeyboard(QObject* Watched) const {
    auto* w = qobject_cast<QWidget*>(Watched);
    return w && keyboard_ && (w == keyboard_ || keyboard_->isAncestorOf(w));
}

void QuimbelAssistiveInput::pointerAt(QWidget* Widget, const QPoint& Pos) {
    // The key button under the pointer, in the client coordinates of the keyboard's surface.
    QWidget* surface = vcl::qt::WidgetOf(model_);
    quimbel::TKeyControl* over = nullptr;
    if (Widget && surface) {
        const QPoint p =
            Widget->mapTo(surface->window(), Pos) - surface->mapTo(surface->window(), QPoint(0, 0));
        quimbel::TKeyCollection* keys = model_->GetKeys();
        for (int i = 0; i < keys->GetCount() && !over; ++i) {
            quimbel::TKeyControl* c = keys->GetItem(i)->Control;
            if (c && c->GetVisible() && c->GetLeft() <= p.x() &&
                p.x() < c->GetLeft() + c->GetWidth() && c->GetTop() <= p.y() &&
                p.y() < c->GetTop() + c->GetHeight())
                over = c;
        }
    }
    model_->Scanner()->PointerOver(over);
}

bool QuimbelAssistiveInput::eventFilter(QObject* Watched, QEvent* Event) {
    const bool scanning = model_->GetSwitchScanning() != quimbel::ssNone;
    switch (Event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!scanning || !Watched->isWidgetType()) break;
        auto* key = static_cast<QKeyEvent*>(Event);
        const bool select = key->key() == SwitchKey;
        if (!select && key->key() != MoveSwitchKey) break;
        if (Event->type() == QEvent::KeyPress && !key->isAutoRepeat())
            vcl::qt::RunFromEvent(model_, [&] {
                model_->Scanner()->Switch(select ? quimbel::swSelect : quimbel::swMove);
            });
        return true; // a switch types nothing
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        if (!scanning || !onKeyboard(Watched)) break;
        auto* mouse = static_cast<QMouseEvent*>(Event);
        const bool select = mouse->button() == SwitchButton;
        if (!select && mouse->button() != MoveSwitchButton) break;
        if (Event->type() != QEvent::MouseButtonRelease)
            vcl::qt::RunFromEvent(model_, [&] {
                model_->Scanner()->Switch(select ? quimbel::swSelect : quimbel::swMove);
            });
        return true; // the switch, not a tap on the key under the pointer
    }
    case QEvent::MouseMove:
        if (model_->GetDwellTime() > 0 && onKeyboard(Watched)) {
            auto* mouse = static_cast<QMouseEvent*>(Event);
            pointerAt(static_cast<QWidget*>(Watched), mouse->position().toPoint());
        }
        break;
    case QEvent::Leave:
        if (Watched == keyboard_) model_->Scanner()->PointerOver(nullptr);
        break;
    default:
        break;
    }
    return false;
}
