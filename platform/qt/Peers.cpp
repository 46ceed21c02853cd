#include "qt/Peers.h"

#include <QApplication>
#include <QHash>
#include <QLayout>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>
#include <vector>

#include "qt/Codepage.h"
#include "qt/Convert.h"
#include "qt/KeyInput.h"
#include "qt/PaintKeeper.h"
#include "qt/Painting.h"
#include "qt/QtWidgetset.h"
#include "qt/Themes.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

namespace vcl::qt {

namespace {

QHash<const QWidget*, QtPeer*>& PeerMap() {
    static QHash<const QWidget*, QtPeer*> map;
    return map;
}

int g_syntheticKeys = 0;
int g_wheelDeliveries = 0;
const QtPeer* g_attaching = nullptr;

} // namespace

bool DeliveringSyntheticKey() {
    return g_syntheticKeys > 0;
}

bool DeliveringWheel() {
    return g_wheelDeliveries > 0;
}

namespace {
int g_eventDepth = 0;
} // namespace

int EventDepth() {
    return g_eventDepth;
}

void RunFromEvent(vcl::TObject* Sender, const std::function<void()>& Call) {
    auto handle = [Sender] {
        try {
            vcl::Application->HandleException(Sender);
        } catch (...) {
            // Showing the error failed as well; the event loop must go on.
        }
    };
    ++g_eventDepth;
    try {
        vcl::TInputEventScope scope;
        Call();
        scope.Finish();
    } catch (...) {
        handle();
    }
    --g_eventDepth;
    TQtWidgetset* ws = QtWidgetset();
    // Work queued for after an event runs after the outermost event of a nested modal loop as
    // well, as posted messages do: a menu item chosen in a modal window runs while it is open.
    if (ws && ws->ModalLoopBase() >= 0 && g_eventDepth == ws->ModalLoopBase()) {
        try {
            vcl::ProcessQueuedCalls();
        } catch (...) {
            handle();
        }
    }
    if (vcl::Application->Terminated() && ws) ws->EndModalLoops(nullptr);
}

QtPeer* PeerOf(const QWidget* w, bool SearchAncestors) {
    while (w) {
        auto it = PeerMap().constFind(w);
        if (it != PeerMap().constEnd()) return *it;
        if (!SearchAncestors) return nullptr;
        w = w->parentWidget();
    }
    return nullptr;
}

// --- QtPeer -------------------------------------------------------------------------------------

QtPeer::QtPeer(vcl::TWinControl* Control)
    : vcl::TWinControlPeer(Control) {}

QtPeer::~QtPeer() {
    // By the address kept, since a borrowed widget may already be gone (its guard is null).
    if (key_) PeerMap().remove(key_);
    if (widget_) {
        if (owned_) {
            // Widgets of child peers that outlive this one (rare) must not be deleted with it.
            for (QObject* child : widget_->children()) {
                auto* cw = qobject_cast<QWidget*>(child);
                if (cw && PeerOf(cw) && PeerOf(cw) != this) {
                    cw->hide();
                    cw->setParent(nullptr);
                }
            }
            delete widget_.data();
        }
    }
}

bool QtPeer::IsTopLevel() const {
    return Control()->GetParent() == nullptr;
}

vcl::TCustomForm* QtPeer::Form() const {
    return Control()->IsForm() ? static_cast<vcl::TCustomForm*>(Control()) : nullptr;
}

QPoint QtPeer::ClientOffset() const {
    const vcl::TRect f = Control()->NonClientInsets();
    return QPoint(f.Left, f.Top);
}

void QtPeer::Attach(QWidget* w, bool owned) {
    widget_ = w;
    key_ = w;
    owned_ = owned;
    PeerMap().insert(w, this);
    if (owned) {
        const auto sync = Sync();
        if (QWidget* parent = ParentWidget(); parent && w->parentWidget() != parent)
            w->setParent(parent);
        const QtPeer* outer = g_attaching;
        g_attaching = this;
        vcl::TFinally restore([outer] { g_attaching = outer; });
        ApplyAll();
    }
}
QWidget* QtPeer::ParentWidget() const {
    vcl::TWinControl* parent = Control()->GetParent();
    auto* peer = parent ? static_cast<QtPeer*>(parent->GetPeer()) : nullptr;
    return peer ? peer->Widget() : nullptr;
}
bool QtPeer::ShowWaitsForChildren() const {
    if (g_attaching != this) return false;
    vcl::TWinControl* c = Control();
    for (int i = 0; i < c->GetControlCount(); ++i)
        if (c->GetControl(i)->IsWindowed()) return true;
    return false;
}

void QtPeer::ApplyAll() {
    FontChanged();
    ColorChanged();
    TextChanged();
    EnabledChanged();
    ApplyBounds();
    ZOrderChanged();
    VisibleChanged();
}

void QtPeer::ApplyBounds() {
    if (!widget_ || !owned_) return;
    const auto sync = Sync();
    vcl::TWinControl* c = Control();
    const int w = c->GetWidth() > 0 ? c->GetWidth() : 0;
    const int h = c->GetHeight() > 0 ? c->GetHeight() : 0;
    if (vcl::TWinControl* parent = c->GetParent()) {
        QtPeer* pp = static_cast<QtPeer*>(parent->GetPeer());
        const QPoint o = pp ? pp->ClientOffset() : QPoint();
        widget_->setGeometry(o.x() + c->GetLeft(), o.y() + c->GetTop(), w, h);
    } else if (widget_->isWindow()) {
        widget_->setGeometry(c->GetLeft(), c->GetTop(), w, h);
    } else {
        widget_->resize(w, h); // hosted in a Qt layout: the layout places it
    }
}

void QtPeer::BoundsChanged() {
    ApplyBounds();
}

void QtPeer::VisibleChanged() {
    if (!widget_ || !owned_ || ShowWaitsForChildren()) return;
    const auto sync = Sync();
    if (Control()->GetVisible())
        ShowWidget();
    else
        widget_->setVisible(false);
}

namespace {

// Takes the repaint that a widget asks for when it is shown (QEvent::UpdateLater) from the
// descendants of a widget shown with them, which repaints their area itself. A descendant
// that paints all of its area is left alone: the repaint of the widget leaves it out.
class ShownChildrenFilter : public QObject {
public:
    explicit ShownChildrenFilter(QWidget* Shown) : shown_(Shown) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::UpdateLater || o == shown_ || !o->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(o);
        return !w->isWindow() && shown_->isAncestorOf(w) && !paintsAllOfItself(w);
    }

private:
    static bool paintsAllOfItself(const QWidget* w) {
        return w->testAttribute(Qt::WA_OpaquePaintEvent) ||
               w->testAttribute(Qt::WA_PaintOnScreen) || w->testAttribute(Qt::WA_NativeWindow) ||
               (w->autoFillBackground() && w->palette().brush(w->backgroundRole()).isOpaque());
    }
    QWidget* shown_;
};

// A layout that places nothing, set on a widget while it shows many children: each child
// shown asks the widget to lay its children out again, which, without a layout, posts an event
// that Qt merges with the one already posted by searching all events posted (a search as long
// as the number of widgets just made). A layout asks once.
class NoLayout : public QLayout {
public:
    NoLayout() {
        setSizeConstraint(QLayout::SetNoConstraint);
        setContentsMargins(0, 0, 0, 0);
    }
    void addItem(QLayoutItem* Item) override { delete Item; }
    QLayoutItem* itemAt(int) const override { return nullptr; }
    QLayoutItem* takeAt(int) override { return nullptr; }
    int count() const override { return 0; }
    QSize sizeHint() const override { return QSize(); }
};

// Below this many children a widget shown does not look for its children's repaints.
constexpr int kManyChildren = 32;

} // namespace

void QtPeer::ShowWidget(const std::function<void(QWidget*)>& Show) {
    const bool hidden = !widget_->isVisible();
    const bool many = widget_->children().size() >= kManyChildren;
    std::unique_ptr<NoLayout> layout;
    if (hidden && many && !widget_->layout()) {
        layout = std::make_unique<NoLayout>();
        widget_->setLayout(layout.get());
    }
    if (Show)
        Show(widget_);
    else
        widget_->setVisible(true);
    if (layout) {
        // Some widgets ask again when they take the event that Qt posts to every widget made,
        // to polish it (push buttons): it is taken now, while the layout is there to ask.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
        layout.reset();
    }
    if (!hidden || !many || !widget_->isVisible()) return;
    ShownChildrenFilter filter(widget_);
    qApp->installEventFilter(&filter);
    vcl::TFinally remove([&filter] { qApp->removeEventFilter(&filter); });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateLater);
}

void QtPeer::EnabledChanged() {
    if (!widget_ || !owned_) return;
    const auto sync = Sync();
    widget_->setEnabled(Control()->GetEnabled());
}

void QtPeer::FontChanged() {
    if (!widget_ || !owned_) return;
    const auto sync = Sync();
    const QFont font = ToQFont(Control()->GetFont());
    // A control with its parent's font has it from its parent's widget already; set once more
    // (now its own), it would make widgets that follow their font redo their parts.
    const bool inherited = Control()->GetParentFont() && widget_->parentWidget() &&
                           widget_->parentWidget() == ParentWidget() && widget_->font() == font;
    if (!inherited) widget_->setFont(font);
    QPalette pal = widget_->palette();
    const QColor text = ToQColor(Control()->GetFont()->GetColor());
    if (text.isValid()) {
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::Text, text);
        pal.setColor(QPalette::ButtonText, text);
    }
    widget_->setPalette(pal);
    Repaint();
}

void QtPeer::ColorChanged() {
    if (!widget_ || !owned_) return;
    const auto sync = Sync();
    const QColor c = ToQColor(Control()->GetColor());
    if (!c.isValid()) return;
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Base, c);
    widget_->setPalette(pal);
    Repaint();
}

void QtPeer::ZOrderChanged() {
    if (!widget_) return;
    // The widgets of the windowed children, bottom first, as the model stacks them.
    vcl::TWinControl* c = Control();
    std::vector<QWidget*> wanted;
    for (int i = 0; i < c->GetControlCount(); ++i) {
        vcl::TControl* child = c->GetControl(i);
        if (!child->IsWindowed()) continue;
        if (auto* p = static_cast<QtPeer*>(static_cast<vcl::TWinControl*>(child)->GetPeer());
            p && p->Widget() && p->Widget()->parentWidget() == widget_)
            wanted.push_back(p->Widget());
    }
    // They go above the other widgets of the widget, in that order. Each widget raised costs
    // work for all of its siblings, so only those out of place are: the longest run from the
    // bottom that is stacked in order above the other widgets already stays, the rest is
    // raised in order (a control brought to the front raises one widget, a new one none).
    QHash<const QObject*, qsizetype> stacked;
    for (QWidget* w : wanted)
        stacked.insert(w, -1);
    qsizetype others = -1; // the topmost other widget
    const QObjectList& order = widget_->children();
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (auto it = stacked.find(order[i]); it != stacked.end())
            *it = i;
        else if (order[i]->isWidgetType() && !static_cast<QWidget*>(order[i])->isWindow())
            others = i;
    }
    size_t inPlace = 0;
    for (qsizetype last = others; inPlace < wanted.size(); ++inPlace) {
        const qsizetype at = stacked.value(wanted[inPlace]);
        if (at < last) break;
        last = at;
    }
    for (size_t i = inPlace; i < wanted.size(); ++i)
        wanted[i]->raise();
    Repaint();
}

void QtPeer::Invalidate() {
    if (widget_) Repaint();
}

void QtPeer::Repaint(const QRect& Area) {
    if (PaintKeeper* keeper = KeeperOf(widget_)) keeper->Stale(Area);
    if (Area.isNull())
        widget_->update();
    else
        widget_->update(Area);
}

void QtPeer::InvalidateControl(vcl::TControl* Child) {
    if (!widget_ || !Child) return;
    const QPoint o = ClientOffset();
    const QRect now(o.x() + Child->GetLeft(), o.y() + Child->GetTop(), Child->GetWidth(),
                    Child->GetHeight());
    // The model reports the new bounds only; where the child was is repainted too.
    GraphicChild& entry = GraphicChildEntry(Child);
    if (entry.Painted != now) {
        if (!entry.Painted.isNull()) Repaint(entry.Painted);
        entry.Painted = now;
    }
    Repaint(now);
}

void QtPeer::ControlRemoved(vcl::TControl* Child) {
    auto it = painted_.find(Child);
    if (it == painted_.end()) {
        if (widget_) Repaint();
        return;
    }
    if (widget_) Repaint(it->second.Painted);
    painted_.erase(it);
}

void QtPeer::SetFocus() {
    if (!widget_ || Syncing()) return;
    const auto sync = Sync();
    QWidget* target = widget_->focusProxy() ? widget_->focusProxy() : widget_.data();
    if (target->window()->isVisible()) target->window()->activateWindow();
    target->setFocus(Qt::OtherFocusReason);
}

void QtPeer::DefaultHandler(vcl::TMessage& Message) {
    if (!widget_) return;
    if (Message.Msg == vcl::WM_MOUSEWHEEL) {
        Message.Result = UsesWheel() && DeliverWheel(Message) ? 1 : 0;
        return;
    }
    if (Message.Msg != vcl::WM_CHAR && Message.Msg != vcl::WM_KEYDOWN) return;
    ++g_syntheticKeys;
    vcl::TFinally delivered([] { --g_syntheticKeys; });
    const bool accepted = Message.Msg == vcl::WM_CHAR
                              ? SendCharMessage(widget_, static_cast<unsigned>(Message.WParam))
                              : SendKeyDownMessage(widget_, static_cast<unsigned>(Message.WParam));
    Message.Result = accepted ? 0 : 1;
}

void QtPeer::WidgetGeometryChanged() {
    if (!widget_ || Syncing()) return;
    vcl::TWinControl* c = Control();
    QRect g = widget_->geometry();
    // A form's client area starts below its menu bar.
    const bool form = Form() != nullptr;
    if (form) g.setTop(g.top() + ClientOffset().y());
    int left = c->GetLeft(), top = c->GetTop();
    int width = c->GetWidth(), height = c->GetHeight();
    if (!c->GetParent()) {
        // The screen position of the control follows the real window, so that ScreenToClient
        // of the real cursor lands where the user points.
        const QPoint global = widget_->mapToGlobal(form ? ClientOffset() : QPoint(0, 0));
        // A form's widget is its menu bar and client area (the window manager draws the
        // frame); any other control's widget covers its whole bounds.
        if (form) {
            const vcl::TRect f = c->NonClientInsets();
            left = global.x() - f.Left;
            top = global.y() - f.Top;
        } else {
            left = global.x();
            top = global.y();
        }
    }
    // A widget narrower than a clamped negative size does not change the model's size.
    if (g.width() != (width > 0 ? width : 0)) width = g.width();
    if (g.height() != (height > 0 ? height : 0)) height = g.height();
    if (form) {
        const vcl::TRect f = c->NonClientInsets();
        if (g.width() != c->GetClientWidth())
            width = g.width() + f.Left + f.Right;
        else
            width = c->GetWidth();
        if (g.height() != c->GetClientHeight())
            height = g.height() + f.Top + f.Bottom;
        else
            height = c->GetHeight();
    }
    if (left == c->GetLeft() && top == c->GetTop() && width == c->GetWidth() &&
        height == c->GetHeight())
        return;
    const auto sync = Sync();
    RunFromEvent(c, [&] { c->SetBounds(left, top, width, height); });
}

void QtPeer::MouseInput(vcl::TMouseEventKind Kind, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                        Qt::KeyboardModifiers Modifiers, QPointF Pos, bool Double) {
    vcl::TWinControl* c = Control();
    vcl::TShiftState shift = ToShiftState(Modifiers, Buttons);
    if (Double) shift.Include(vcl::ssDouble);
    vcl::TMouseButton button = vcl::mbLeft;
    if (Button == Qt::RightButton)
        button = vcl::mbRight;
    else if (Button == Qt::MiddleButton)
        button = vcl::mbMiddle;
    else if (Button != Qt::LeftButton && Kind != vcl::mekMove)
        return;
    const QPoint o = ClientOffset();
    const int x = static_cast<int>(std::floor(Pos.x())) - o.x();
    const int y = static_cast<int>(std::floor(Pos.y())) - o.y();
    RunFromEvent(c, [&] {
        if (Kind == vcl::mekDown)
            c->InputMouseDown(button, shift, x, y);
        else if (Kind == vcl::mekMove)
            c->InputMouseMove(shift, x, y);
        else
            c->InputMouseUp(button, shift, x, y);
    });
}

bool QtPeer::WheelInput(int Delta, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers,
                        QPointF Pos) {
    vcl::TWinControl* c = Control();
    const QPoint o = ClientOffset();
    const int x = static_cast<int>(std::floor(Pos.x())) - o.x();
    const int y = static_cast<int>(std::floor(Pos.y())) - o.y();
    bool used = false;
    RunFromEvent(c,
                 [&] { used = c->InputMouseWheel(ToShiftState(Modifiers, Buttons), Delta, x, y); });
    return used;
}

bool QtPeer::DeliverWheel(const vcl::TMessage& Message) {
    const vcl::TPoint client =
        Control()->ScreenToClient({vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)});
    const QPoint local = QPoint(client.X, client.Y) + ClientOffset();
    const QPointF global = widget_->mapToGlobal(QPointF(local));
    const vcl::TShiftState shift = vcl::KeysToShiftState(Message.WParam & 0xFFFF);
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, shift.Contains(vcl::ssShift));
    modifiers.setFlag(Qt::ControlModifier, shift.Contains(vcl::ssCtrl));
    modifiers.setFlag(Qt::AltModifier, shift.Contains(vcl::ssAlt));
    Qt::MouseButtons buttons;
    buttons.setFlag(Qt::LeftButton, shift.Contains(vcl::ssLeft));
    buttons.setFlag(Qt::RightButton, shift.Contains(vcl::ssRight));
    buttons.setFlag(Qt::MiddleButton, shift.Contains(vcl::ssMiddle));
    const QPoint angle(0, vcl::WParamWheelDelta(Message.WParam));
    ++g_wheelDeliveries;
    vcl::TFinally delivered([] { --g_wheelDeliveries; });
    // From the widget under the pointer up to the peer's widget, as Qt passes on a turn that a
    // widget ignores.
    QWidget* receiver = widget_->childAt(local);
    QPointer<QWidget> w = receiver ? receiver : widget_.data();
    while (w && widget_) {
        QWheelEvent e(w->mapFromGlobal(global), global, QPoint(), angle, buttons, modifiers,
                      Qt::NoScrollPhase, false);
        if (QCoreApplication::sendEvent(w, &e) && e.isAccepted()) return true;
        if (!w || w == widget_) break;
        w = w->parentWidget();
    }
    return false;
}

QString QtPeer::HintAt(QPoint Pos, QRect& Area) const {
    if (!widget_) return QString();
    const vcl::TWinControl* c = Control();
    const QPoint o = ClientOffset();
    const vcl::TPoint p{Pos.x() - o.x(), Pos.y() - o.y()};
    // Above a form's client area lies its menu bar, which has no hint.
    if (!c->GetClientRect().Contains(p)) return QString();
    const vcl::TControl* target = c;
    Area = widget_->rect();
    if (const vcl::TControl* child = c->ControlAtPos(p, true)) {
        target = child;
        Area = QRect(o.x() + child->GetLeft(), o.y() + child->GetTop(), child->GetWidth(),
                     child->GetHeight());
    }
    return ToQString(vcl::HintOf(target));
}

QtPeer::GraphicChild& QtPeer::GraphicChildEntry(vcl::TControl* Child) {
    GraphicChild& entry = painted_[Child];
    // Which painter draws the child is found once the child is fully made (in its constructor
    // its class is still the base class's); a child leaves the map before another control can
    // take its address.
    if (!entry.Paint) entry.Paint = PeerTable::Get().FindPainter(Child->ClassType());
    return entry;
}

void QtPeer::PaintGraphicChildren(QPainter& p, const QRect& area) {
    vcl::TWinControl* c = Control();
    const QPoint o = ClientOffset();
    const QPalette pal = QApplication::palette();
    for (int i = 0; i < c->GetControlCount(); ++i) {
        vcl::TControl* child = c->GetControl(i);
        if (child->IsWindowed() || !child->GetVisible()) continue;
        const QRect r(o.x() + child->GetLeft(), o.y() + child->GetTop(), child->GetWidth(),
                      child->GetHeight());
        if (r.width() <= 0 || r.height() <= 0 || !r.intersects(area)) continue;
        // A child shows only where it is painted; one outside the area keeps its last place.
        GraphicChild& entry = GraphicChildEntry(child);
        entry.Painted = r;
        if (entry.Paint) entry.Paint(p, r, child, pal);
    }
}

// A speed button clips to its rectangle itself; a shape or a label is clipped to its bounds.
void RegisterGraphicPainters(PeerTable& Table) {
    Table.AddPainter(vcl::TSpeedButton::StaticClass(),
                     [](QPainter& p, const QRect& r, vcl::TControl* c, const QPalette& pal) {
                         auto* b = static_cast<vcl::TSpeedButton*>(c);
                         const vcl::TLook* look = b->GetParent() ? b->GetParent()->GetLook()
                                                                 : nullptr;
                         if (IsThemed(look))
                             PaintThemedButton(p, r, FaceOf(b), *look, pal);
                         else
                             PaintSpeedButton(p, r, FaceOf(b), pal);
                         if (b->GetAssistMark() != vcl::TAssistMark())
                             PaintAssistMark(p, r, b->GetAssistMark(),
                                             IsThemed(look) ? ThemeMarkPalette(*look, pal) : pal);
                     });
    Table.AddPainter(vcl::TShape::StaticClass(),
                     [](QPainter& p, const QRect& r, vcl::TControl* c, const QPalette&) {
                         p.save();
                         p.setClipRect(r, Qt::IntersectClip);
                         PaintShape(p, r, static_cast<vcl::TShape*>(c));
                         p.restore();
                     });
    Table.AddPainter(vcl::TCustomLabel::StaticClass(),
                     [](QPainter& p, const QRect& r, vcl::TControl* c, const QPalette& pal) {
                         p.save();
                         p.setClipRect(r, Qt::IntersectClip);
                         PaintLabel(p, r, static_cast<vcl::TCustomLabel*>(c), pal);
                         p.restore();
                     });
}

} // namespace vcl::qt
