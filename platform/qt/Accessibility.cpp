#include "qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <QWindow>

#include <map>
#include <memory>

#include "qt/ContainerPeers.h"
#include "qt/Symbols.h"
#include "vcl/Controls.h"
#include "vcl/DeferredCalls.h"

namespace vcl::qt {

QString AccessibleName(const vcl::TControl* Control) {
    vcl::TAccessibleInfo info;
    if (!Control->GetAccessibleInfo(info)) return QString();
    const vcl::AnsiString face = Control->GetFont()->GetName();
    const QString shown = DisplayText(face, info.Caption).trimmed();
    // A symbol face shows pictures (an arrow, a return sign), and a blank caption nothing: a
    // person calls such a key by what it does.
    if (!info.SpokenName.empty() && (shown.isEmpty() || IsSymbolFont(face)))
        return DisplayText("", info.SpokenName);
    return shown;
}

namespace {

class HostAccessible;

// Host widgets whose accessible object exists, so that changes reach only the objects a client
// has asked for and never create one.
std::map<const QWidget*, HostAccessible*>& Hosts() {
    static std::map<const QWidget*, HostAccessible*> hosts;
    return hosts;
}

// One graphic child, as a button. It holds no reference that could dangle: the control is
// checked through its life token, the host through a guarded pointer.
class ControlAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ControlAccessible(QWidget* Host, vcl::TControl* Control)
        : host_(Host), control_(Control), alive_(Control->LifeToken()) {
        remember();
    }

    bool Alive() const { return *alive_ && host_; }
    vcl::TControl* Control() const { return control_; }

    // Tells the clients what changed since they last heard.
    void Notify() {
        if (!Alive()) return;
        const QString name = AccessibleName(control_);
        vcl::TAccessibleInfo info;
        control_->GetAccessibleInfo(info);
        if (name != name_) {
            QAccessibleEvent e(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&e);
        }
        if (info.Checked != checked_) {
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent e(this, changed);
            QAccessible::updateAccessibility(&e);
        }
        remember();
    }

    bool isValid() const override { return Alive(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return host_ ? host_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return host_ ? QAccessible::queryAccessibleInterface(host_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (!Alive() || t != QAccessible::Name) return QString();
        return AccessibleName(control_);
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!Alive()) {
            s.invalid = true;
            return s;
        }
        vcl::TAccessibleInfo info;
        control_->GetAccessibleInfo(info);
        s.checkable = info.Checkable;
        s.checked = info.Checked;
        s.disabled = !control_->IsEnabledInParents();
        s.invisible = !control_->GetVisible() || !host_->isVisible();
        return s;
    }
    QRect rect() const override {
        if (!Alive()) return QRect();
        QtPeer* peer = PeerOf(host_);
        const QPoint offset = peer ? peer->ClientOffset() : QPoint();
        const QPoint topLeft =
            host_->mapToGlobal(offset + QPoint(control_->GetLeft(), control_->GetTop()));
        return QRect(topLeft, QSize(control_->GetWidth(), control_->GetHeight()));
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        if (!Alive() || name != pressAction() || !control_->IsEnabledInParents()) return;
        // Exactly what a click on the control does, run as a Qt event's model call is.
        RunFromEvent(control_, [this] { control_->Click(); });
    }

private:
    void remember() {
        if (!Alive()) return;
        name_ = AccessibleName(control_);
        vcl::TAccessibleInfo info;
        control_->GetAccessibleInfo(info);
        checked_ = info.Checked;
    }

    QPointer<QWidget> host_;
    vcl::TControl* control_;
    std::shared_ptr<const bool> alive_;
    QString name_;
    bool checked_ = false;
};

// A container widget: a group (a window at the top) of its child widgets and graphic children.
class HostAccessible : public QAccessibleWidget {
public:
    explicit HostAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Grouping) {
        Hosts()[w] = this;
    }
    // A keyboard's surface is a window until a Qt program puts it into one of its widgets.
    QAccessible::Role role() const override {
        return widget()->isWindow() ? QAccessible::Window : QAccessible::Grouping;
    }
    ~HostAccessible() override {
        Hosts().erase(widget());
        for (auto& [control, id] : children_) {
            (void)control;
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override {
        return QAccessibleWidget::childCount() + static_cast<int>(graphicChildren().size());
    }
    QAccessibleInterface* child(int index) const override {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets) return QAccessibleWidget::child(index);
        const auto controls = graphicChildren();
        const size_t i = static_cast<size_t>(index - widgets);
        return i < controls.size() ? For(controls[i], true) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int widgets = QAccessibleWidget::childCount();
        const auto controls = graphicChildren();
        for (size_t i = 0; i < controls.size(); ++i)
            if (For(controls[i], false) == child) return widgets + static_cast<int>(i);
        return QAccessibleWidget::indexOfChild(child);
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface* c = child(i);
            if (c && c->rect().contains(x, y)) return c;
        }
        return nullptr;
    }

    // The accessible object of a graphic child; made when Make is set and there is none yet.
    ControlAccessible* For(vcl::TControl* Control, bool Make) const {
        auto it = children_.find(Control);
        if (it != children_.end()) {
            auto* existing =
                static_cast<ControlAccessible*>(QAccessible::accessibleInterface(it->second));
            if (existing && existing->Alive()) return existing;
            // A freed control whose address came back: its old object is dead.
            QAccessible::deleteAccessibleInterface(it->second);
            children_.erase(it);
        }
        if (!Make) return nullptr;
        auto* made = new ControlAccessible(widget(), Control);
        children_[Control] = QAccessible::registerAccessibleInterface(made);
        return made;
    }
    void Forget(vcl::TControl* Control) {
        auto it = children_.find(Control);
        if (it == children_.end()) return;
        QAccessible::deleteAccessibleInterface(it->second);
        children_.erase(it);
    }

private:
    // The visible graphic children with something to read, in the order of the model.
    std::vector<vcl::TControl*> graphicChildren() const {
        std::vector<vcl::TControl*> result;
        QtPeer* peer = PeerOf(widget());
        if (!peer) return result;
        vcl::TWinControl* c = peer->Control();
        for (int i = 0; i < c->GetControlCount(); ++i) {
            vcl::TControl* child = c->GetControl(i);
            vcl::TAccessibleInfo info;
            if (!child->IsWindowed() && child->GetVisible() && child->GetAccessibleInfo(info))
                result.push_back(child);
        }
        return result;
    }

    mutable std::map<vcl::TControl*, QAccessible::Id> children_;
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w || !dynamic_cast<ContainerPeer*>(PeerOf(w))) return nullptr;
    return new HostAccessible(w);
}

HostAccessible* HostOf(QWidget* Host) {
    auto it = Hosts().find(Host);
    return it == Hosts().end() ? nullptr : it->second;
}

} // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

void AccessibleControlChanged(QWidget* Host, vcl::TControl* Child) {
    if (HostAccessible* host = HostOf(Host))
        if (ControlAccessible* c = host->For(Child, false)) c->Notify();
}

void AccessibleControlRemoved(QWidget* Host, vcl::TControl* Child) {
    if (HostAccessible* host = HostOf(Host)) host->Forget(Child);
}

} // namespace vcl::qt
