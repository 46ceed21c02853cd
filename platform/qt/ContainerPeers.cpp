#include "qt/ContainerPeers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTouchEvent>

#include <tuple>
#include <vector>

#include "qt/Accessibility.h"
#include "qt/Codepage.h"
#include "qt/Convert.h"
#include "qt/PaintKeeper.h"
#include "qt/Painting.h"
#include "qt/PeerTable.h"
#include "qt/QtWidgetset.h"
#include "qt/Themes.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ScrollBox.h"
#include "vcl/StdCtrls.h"

namespace vcl::qt {

HostWidget::HostWidget(ContainerPeer* peer, QWidget* parent) : QWidget(parent), peer_(peer) {
    // Pointer moves without a button pressed reach the model too (hover, flat buttons, drags
    // that continue after the release).
    setMouseTracking(true);
    // Clicking a container, or a speed button on it, never takes the focus from an edit.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HostWidget::paintEvent(QPaintEvent* e) {
    if (PaintKeeper* keeper = KeeperOf(this)) {
        keeper->Paint(*this, e->region(),
                      [this](QPainter& p, const QRect& area) { peer_->Paint(p, area); });
        return;
    }
    QPainter p(this);
    peer_->Paint(p, e->rect());
}

void HostWidget::input(vcl::TMouseEventKind kind, QMouseEvent* e, bool dbl) {
    e->accept();
    // A control that takes touches has had them already; the mouse events Qt makes of them
    // would type a second time.
    if (e->source() != Qt::MouseEventNotSynthesized && peer_->Control()->TakesTouch()) return;
    peer_->MouseInput(kind, e->button(), e->buttons(), e->modifiers(), e->position(), dbl);
}

void HostWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // A resized container is repainted whole, so the layout pass that follows need not ask for
    // repaints of the children it moves.
    peer_->Invalidate();
    peer_->WidgetGeometryChanged();
}

void HostWidget::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (isWindow() || !peer_->Control()->GetParent()) peer_->WidgetGeometryChanged();
}

void HostWidget::closeEvent(QCloseEvent* e) {
    peer_->CloseRequested(e);
}

// Every point of a touch goes to the control on its own, so that several fingers press several
// keys at once.
void HostWidget::touch(QTouchEvent* e) {
    e->accept();
    vcl::TWinControl* control = peer_->Control();
    const QPoint offset = peer_->ClientOffset();
    std::vector<std::tuple<vcl::TTouchKind, int, QPoint>> points;
    for (const QEventPoint& p : e->points()) {
        vcl::TTouchKind kind = vcl::tkMove;
        if (e->type() == QEvent::TouchCancel)
            kind = vcl::tkCancel;
        else if (p.state() == QEventPoint::Pressed)
            kind = vcl::tkDown;
        else if (p.state() == QEventPoint::Released)
            kind = vcl::tkUp;
        else if (p.state() == QEventPoint::Stationary)
            continue;
        points.emplace_back(kind, p.id(), p.position().toPoint() - offset);
    }
    RunFromEvent(control, [&] {
        const auto alive = control->LifeToken();
        for (const auto& [kind, id, pos] : points) {
            if (!*alive) return;
            control->InputTouch(kind, id, pos.x(), pos.y());
        }
    });
}

bool HostWidget::event(QEvent* e) {
    switch (e->type()) {
    // What the widget takes from Qt and draws with.
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
    case QEvent::ThemeChange:
    case QEvent::EnabledChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ScreenChangeInternal:
        if (PaintKeeper* keeper = KeeperOf(this)) keeper->Stale();
        break;
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        if (peer_->Control()->TakesTouch()) {
            touch(static_cast<QTouchEvent*>(e));
            return true;
        }
        break;
    case QEvent::Leave: {
        // Qt tells a widget that the pointer left it and all its children, never when it moves
        // into a child; the model then has no control under the pointer in this one any more.
        vcl::TWinControl* control = peer_->Control();
        RunFromEvent(control, [control] { control->InputMouseLeave(); });
        break;
    }
    default:
        break;
    }
    // A control without a parent hosted in a Qt program's own window moves on the screen when
    // that window moves; its screen position in the model follows.
    if (e->type() == QEvent::ParentChange) {
        if (watchedWindow_) watchedWindow_->removeEventFilter(this);
        watchedWindow_ = nullptr;
        if (!isWindow() && !peer_->Control()->GetParent()) {
            watchedWindow_ = window();
            watchedWindow_->installEventFilter(this);
        }
        peer_->WidgetGeometryChanged();
    }
    return QWidget::event(e);
}

bool HostWidget::eventFilter(QObject* watched, QEvent* e) {
    if (watched == watchedWindow_ && e->type() == QEvent::Move) peer_->WidgetGeometryChanged();
    return false;
}

ContainerPeer::ContainerPeer(vcl::TWinControl* c) : QtPeer(c) {
    Attach(new HostWidget(this, nullptr));
}

void ContainerPeer::CloseRequested(QCloseEvent* e) {
    // The model decides: a modal form ends with mrCancel, another hides (or frees itself).
    e->ignore();
    if (Syncing()) return;
    RunFromEvent(Control(), [&] { Close(); });
}

bool ContainerPeer::AcceptsFocus() const {
    // A window with nothing to type into (a keyboard of its own) must never become active, so
    // the focus stays in the window the user types into.
    std::function<bool(const vcl::TWinControl*)> any = [&](const vcl::TWinControl* w) {
        for (int i = 0; i < w->GetControlCount(); ++i) {
            vcl::TControl* control = w->GetControl(i);
            if (!control->IsWindowed()) continue;
            auto* child = static_cast<vcl::TWinControl*>(control);
            if (child->GetTabStop() || child->Is<vcl::TButtonControl>() ||
                child->Is<TQtWidgetControl>())
                return true;
            if (any(child)) return true;
        }
        return false;
    };
    return any(Control());
}

void ContainerPeer::ApplyWindowFlags() {
    if (!widget_ || Control()->GetParent() || IsHosted()) return;
    Qt::WindowFlags flags = WindowFlags();
    const bool focusable = AcceptsFocus();
    if (!focusable) flags |= Qt::WindowDoesNotAcceptFocus;
    const auto sync = Sync();
    const bool visible = widget_->isVisible();
    if (widget_->windowFlags() != flags) widget_->setWindowFlags(flags);
    widget_->setAttribute(Qt::WA_ShowWithoutActivating, !focusable);
    if (visible && !widget_->isVisible()) widget_->show();
}

void ContainerPeer::TextChanged() {
    if (!widget_) return;
    if (Control()->GetParent() == nullptr) widget_->setWindowTitle(ToQString(Control()->GetText()));
    Repaint();
}

void ContainerPeer::ApplyTouch() {
    if (widget_) widget_->setAttribute(Qt::WA_AcceptTouchEvents, Control()->TakesTouch());
}

void ContainerPeer::Changed(vcl::TPeerChange What) {
    if (What == vcl::pcAppearance) ApplyTouch();
    if (widget_) Repaint();
}

void ContainerPeer::ZOrderChanged() {
    QtPeer::ZOrderChanged();
    // A child that can take the focus may have arrived or gone.
    if (widget_ && !Control()->GetParent() && !widget_->isVisible()) ApplyWindowFlags();
}

void ContainerPeer::Invalidate() {
    if (!widget_ || wholeDirty_) return;
    Repaint();
    wholeDirty_ = true;
}

void ContainerPeer::InvalidateControl(vcl::TControl* Child) {
    // Once the whole widget waits for its repaint, a child's change adds nothing; a child that
    // changes many times (the four bound changes of a key) or many children (a layout pass, a
    // modifier changing every caption) end up as one repaint.
    if (widget_) AccessibleControlChanged(widget_, Child);
    if (wholeDirty_) return;
    if (++invalidations_ > MaxPartialInvalidations)
        Invalidate();
    else
        QtPeer::InvalidateControl(Child);
}

void ContainerPeer::ControlRemoved(vcl::TControl* Child) {
    if (widget_) AccessibleControlRemoved(widget_, Child);
    QtPeer::ControlRemoved(Child);
}

void ContainerPeer::Paint(QPainter& p, const QRect& area) {
    // What was invalidated is painted now; changes from here on need repaints of their own.
    wholeDirty_ = false;
    invalidations_ = 0;
    vcl::TWinControl* c = Control();
    const QRect all = widget_->rect();
    const QPalette pal = QApplication::palette();
    const vcl::TLook* look = c->GetLook();
    QColor bg = IsThemed(look) ? ThemeBackground(*look, pal) : ToQColor(c->GetColor());
    if (!bg.isValid()) bg = pal.color(QPalette::Window);
    p.fillRect(area, bg);
    if (!IsThemed(look) || ThemeShowsFrame(*look)) PaintFrame(p, all, pal);
    // On a designed form a control that shows nothing but its background (an empty keyboard, a
    // panel without bevels) gets a dashed outline, so that it can be seen and picked.
    if (!Form() && c->ComponentState().Contains(vcl::csDesigning) && !DrawsItself()) {
        p.setPen(QPen(pal.color(QPalette::Dark), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(all.adjusted(0, 0, -1, -1));
    }
    PaintGraphicChildren(p, area);
}

class PanelPeer : public ContainerPeer {
public:
    explicit PanelPeer(vcl::TCustomPanel* p) : ContainerPeer(p), panel_(p) {}
    bool DrawsItself() const override {
        return panel_->GetBevelOuter() != vcl::bvNone || panel_->GetBevelInner() != vcl::bvNone ||
               panel_->GetBorderStyle() != vcl::bsNone;
    }

protected:
    void PaintFrame(QPainter& p, const QRect& All, const QPalette& Palette) override {
        PaintPanel(p, panel_, All, Palette);
    }

private:
    vcl::TCustomPanel* panel_;
};

class GroupBoxPeer : public ContainerPeer {
public:
    explicit GroupBoxPeer(vcl::TCustomGroupBox* g) : ContainerPeer(g) {}
    bool DrawsItself() const override { return true; }

protected:
    void PaintFrame(QPainter& p, const QRect& All, const QPalette& Palette) override {
        PaintGroupFrame(p, Control(), All, Palette);
    }
};

// The classic radio button leaves 4 pixels between its circle and its text; the toolkit's styles
// leave more, which pushes long item texts out of a narrow column.
class ClassicRadioStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric Metric, const QStyleOption* Option,
                    const QWidget* Widget) const override {
        if (Metric == PM_RadioButtonLabelSpacing) return 4;
        return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }
};

// A radio button that reacts anywhere in its cell (Qt's reacts on its indicator and text only),
// which matters on a touch screen.
class CellRadioButton : public QRadioButton {
public:
    CellRadioButton(const QString& text, QWidget* parent, QStyle* style)
        : QRadioButton(text, parent) {
        setStyle(style);
    }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class RadioGroupPeer : public GroupBoxPeer {
public:
    explicit RadioGroupPeer(vcl::TCustomRadioGroup* g) : GroupBoxPeer(g), group_(g) {
        buttons_ = new QButtonGroup(widget_);
        buttons_->setExclusive(true);
        style_ = new ClassicRadioStyle();
        style_->setParent(widget_);
        QObject::connect(buttons_, &QButtonGroup::idClicked, widget_, [this](int id) {
            if (Syncing()) return;
            RunFromEvent(group_, [&] { group_->ClickItem(id); });
            SyncChecked();
        });
        Rebuild();
    }
    void Changed(vcl::TPeerChange What) override {
        if (What == vcl::pcItems)
            Rebuild();
        else if (What == vcl::pcItemIndex)
            SyncChecked();
        else if (What == vcl::pcAppearance)
            Arrange();
        GroupBoxPeer::Changed(What);
    }
    void ApplyBounds() override {
        GroupBoxPeer::ApplyBounds();
        Arrange();
    }
    void FontChanged() override {
        GroupBoxPeer::FontChanged();
        Arrange();
    }

private:
    void Rebuild() {
        if (!widget_) return;
        const auto sync = Sync();
        for (QAbstractButton* b : buttons_->buttons()) {
            buttons_->removeButton(b);
            delete b;
        }
        vcl::TStrings* items = group_->GetItems();
        for (int i = 0; i < items->GetCount(); ++i) {
            auto* b = new CellRadioButton(ToQString(items->Get(i)), widget_, style_);
            b->setFocusPolicy(Qt::StrongFocus);
            buttons_->addButton(b, i);
            b->show();
        }
        Arrange();
        SyncChecked();
    }
    void SyncChecked() {
        const auto sync = Sync();
        const int index = group_->GetItemIndex();
        buttons_->setExclusive(false);
        for (QAbstractButton* b : buttons_->buttons())
            b->setChecked(buttons_->id(b) == index);
        buttons_->setExclusive(true);
    }
    // The classic arrangement: items fill the first column first, each cell as tall as the
    // space below the caption allows.
    void Arrange() {
        if (!widget_ || !buttons_) return;
        const QList<QAbstractButton*> list = buttons_->buttons();
        const int count = static_cast<int>(list.size());
        if (count == 0) return;
        const int columns = group_->GetColumns() > 0 ? group_->GetColumns() : 1;
        const int perCol = (count + columns - 1) / columns;
        const int width = group_->GetWidth();
        const int height = group_->GetHeight();
        const int fontHeight = QFontMetrics(ToQFont(group_->GetFont())).height();
        const int buttonWidth = (width - 10) / columns;
        const int space = height - fontHeight - 5;
        const int buttonHeight = space / perCol;
        const int topMargin = fontHeight + 1 + (space % perCol) / 2;
        for (QAbstractButton* b : list) {
            const int i = buttons_->id(b);
            b->setFont(ToQFont(group_->GetFont()));
            b->setGeometry((i / perCol) * buttonWidth + 8, (i % perCol) * buttonHeight + topMargin,
                           buttonWidth > 0 ? buttonWidth : 0, buttonHeight > 0 ? buttonHeight : 0);
        }
    }
    vcl::TCustomRadioGroup* group_;
    QButtonGroup* buttons_ = nullptr;
    QStyle* style_ = nullptr; // owned by the group's widget
};

// A tab control: a tab bar along the top of the container; the display area below it holds the
// children as in any container.
class TabControlPeer : public ContainerPeer {
public:
    explicit TabControlPeer(vcl::TCustomTabControl* t) : ContainerPeer(t), tabs_(t) {
        bar_ = new QTabBar(widget_);
        bar_->setDrawBase(true);
        bar_->setExpanding(false);
        QObject::connect(bar_, &QTabBar::currentChanged, widget_, [this](int index) {
            if (Syncing()) return;
            RunFromEvent(tabs_, [&] { tabs_->SelectTab(index); });
        });
        Rebuild();
        bar_->show();
    }
    void Changed(vcl::TPeerChange What) override {
        if (What == vcl::pcItems || What == vcl::pcItemIndex) Rebuild();
        ContainerPeer::Changed(What);
    }
    bool DrawsItself() const override { return true; }
    void ApplyBounds() override {
        ContainerPeer::ApplyBounds();
        if (bar_ && widget_)
            bar_->setGeometry(0, 0, widget_->width(), vcl::TCustomTabControl::TabHeight);
    }

private:
    void Rebuild() {
        if (!bar_) return;
        const auto sync = Sync();
        while (bar_->count() > 0)
            bar_->removeTab(0);
        vcl::TStrings* items = tabs_->GetTabs();
        for (int i = 0; i < items->GetCount(); ++i)
            bar_->addTab(ToQString(items->Get(i)));
        bar_->setCurrentIndex(tabs_->GetTabIndex());
        if (widget_) bar_->setGeometry(0, 0, widget_->width(), vcl::TCustomTabControl::TabHeight);
    }
    vcl::TCustomTabControl* tabs_;
    QTabBar* bar_ = nullptr;
};

// A scrolling container: a Qt scroll bar for each of the model's bars, placed along the right
// and bottom edges of the client area while the model shows it, and kept above the children,
// which the model moves as it scrolls.
class ScrollBoxPeer : public ContainerPeer {
public:
    explicit ScrollBoxPeer(vcl::TScrollingWinControl* s) : ContainerPeer(s), box_(s) {
        corner_ = new QWidget(widget_);
        corner_->setAutoFillBackground(true);
        horz_ = makeBar(Qt::Horizontal, box_->GetHorzScrollBar());
        vert_ = makeBar(Qt::Vertical, box_->GetVertScrollBar());
        raiser_ = new Raiser(this);
        widget_->installEventFilter(raiser_);
        Arrange();
    }
    ~ScrollBoxPeer() override {
        if (widget_) widget_->removeEventFilter(raiser_);
        delete raiser_;
    }
    void Changed(vcl::TPeerChange What) override {
        if (What == vcl::pcScroll) Arrange();
        ContainerPeer::Changed(What);
    }
    void ApplyBounds() override {
        ContainerPeer::ApplyBounds();
        Arrange();
    }
    void ZOrderChanged() override {
        ContainerPeer::ZOrderChanged();
        RaiseBars();
    }
    bool DrawsItself() const override {
        auto* box = dynamic_cast<vcl::TScrollBox*>(box_);
        return box && box->GetBorderStyle() != vcl::bsNone;
    }

protected:
    void PaintFrame(QPainter& p, const QRect& All, const QPalette& Palette) override {
        auto* box = dynamic_cast<vcl::TScrollBox*>(box_);
        if (!box || box->GetBorderStyle() == vcl::bsNone) return;
        QRect r = All;
        if (box->GetCtl3D()) {
            Frame3D(p, r, Palette.color(QPalette::Dark), Palette.color(QPalette::Light), 1);
            Frame3D(p, r, Palette.color(QPalette::Shadow), Palette.color(QPalette::Midlight), 1);
        } else {
            Frame3D(p, r, Palette.color(QPalette::Shadow), Palette.color(QPalette::Shadow), 1);
        }
    }

private:
    // New child widgets (the peers of children shown later) come above the bars; the bars
    // go back on top.
    class Raiser : public QObject {
    public:
        explicit Raiser(ScrollBoxPeer* Peer) : peer_(Peer) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::ChildAdded) peer_->RaiseBars();
            return false;
        }

    private:
        ScrollBoxPeer* peer_;
    };

    QScrollBar* makeBar(Qt::Orientation Orientation, vcl::TControlScrollBar* Model) {
        auto* bar = new QScrollBar(Orientation, widget_);
        bar->setFocusPolicy(Qt::NoFocus);
        QObject::connect(bar, &QScrollBar::valueChanged, widget_, [this, Model](int value) {
            if (Syncing() || value == Model->GetPosition()) return;
            RunFromEvent(box_, [&] { Model->SetPosition(value); });
        });
        return bar;
    }
    void RaiseBars() {
        for (QWidget* w : {static_cast<QWidget*>(horz_), static_cast<QWidget*>(vert_), corner_})
            if (w) w->raise();
    }
    void Arrange() {
        if (!widget_ || !horz_ || !vert_) return;
        const auto sync = Sync();
        const vcl::TRect f = box_->NonClientInsets();
        const vcl::TRect client = box_->GetClientRect();
        constexpr int size = vcl::TScrollingWinControl::ScrollBarSize;
        const int right = f.Left + client.Width(), bottom = f.Top + client.Height();
        const auto apply = [&](QScrollBar* Bar, const vcl::TControlScrollBar* Model,
                               const QRect& Where) {
            Bar->setVisible(Model->IsScrollBarVisible());
            if (!Model->IsScrollBarVisible()) return;
            Bar->setGeometry(Where);
            Bar->setTracking(Model->GetTracking());
            Bar->setRange(0, Model->MaxPosition());
            Bar->setPageStep(std::max(Model->ClientExtent(), 1));
            Bar->setSingleStep(Model->GetIncrement());
            Bar->setValue(Model->GetPosition());
        };
        apply(horz_, box_->GetHorzScrollBar(), QRect(f.Left, bottom, client.Width(), size));
        apply(vert_, box_->GetVertScrollBar(), QRect(right, f.Top, size, client.Height()));
        const bool both = horz_->isVisibleTo(widget_) && vert_->isVisibleTo(widget_);
        corner_->setVisible(both);
        if (both) corner_->setGeometry(right, bottom, size, size);
        RaiseBars();
    }

    vcl::TScrollingWinControl* box_;
    QScrollBar* horz_ = nullptr;
    QScrollBar* vert_ = nullptr;
    QWidget* corner_ = nullptr;
    Raiser* raiser_ = nullptr;
};

void RegisterContainerPeers(PeerTable& Table) {
    Table.Add(vcl::TWinControl::StaticClass(), MakePeer<ContainerPeer, vcl::TWinControl>);
    Table.Add(vcl::TCustomPanel::StaticClass(), MakePeer<PanelPeer, vcl::TCustomPanel>);
    Table.Add(vcl::TCustomGroupBox::StaticClass(), MakePeer<GroupBoxPeer, vcl::TCustomGroupBox>);
    Table.Add(vcl::TCustomRadioGroup::StaticClass(),
              MakePeer<RadioGroupPeer, vcl::TCustomRadioGroup>);
    Table.Add(vcl::TCustomTabControl::StaticClass(),
              MakePeer<TabControlPeer, vcl::TCustomTabControl>);
    Table.Add(vcl::TScrollingWinControl::StaticClass(),
              MakePeer<ScrollBoxPeer, vcl::TScrollingWinControl>);
}

} // namespace vcl::qt
