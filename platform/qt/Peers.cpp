#include "qt/Peers.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "qt/Codepage.h"
#include "qt/Convert.h"
#include "qt/KeyInput.h"
#include "qt/Painting.h"
#include "qt/QtWidgetset.h"
#include "qt/Symbols.h"
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

template <class T> T* Dyn(vcl::TObject* o) {
    return dynamic_cast<T*>(o);
}

} // namespace

bool DeliveringSyntheticKey() {
    return g_syntheticKeys > 0;
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

// --- the widget of containers ------------------------------------------------------------------

class ContainerPeer;

class HostWidget : public QWidget {
public:
    HostWidget(ContainerPeer* peer, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { input(0, e, false); }
    // Qt reports the second press of a double click as a double click only, as the classic
    // platform does; it is a press for the model (with ssDouble), so a double tap types twice.
    void mouseDoubleClickEvent(QMouseEvent* e) override { input(0, e, true); }
    void mouseMoveEvent(QMouseEvent* e) override { input(1, e, false); }
    void mouseReleaseEvent(QMouseEvent* e) override { input(2, e, false); }
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void input(int kind, QMouseEvent* e, bool dbl);
    ContainerPeer* peer_;
    QPointer<QWidget> watchedWindow_;
};

// --- QtPeer -------------------------------------------------------------------------------------

QtPeer::QtPeer(vcl::TWinControl* Control) : vcl::TWinControlPeer(Control) {}

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
        vcl::TWinControl* parent = Control()->GetParent();
        QtPeer* parentPeer = parent ? static_cast<QtPeer*>(parent->GetPeer()) : nullptr;
        SyncGuard g(this);
        if (parentPeer && parentPeer->Widget()) w->setParent(parentPeer->Widget());
        ApplyAll();
    }
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
    SyncGuard g(this);
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
    if (!widget_ || !owned_) return;
    SyncGuard g(this);
    widget_->setVisible(Control()->GetVisible());
}

void QtPeer::EnabledChanged() {
    if (!widget_ || !owned_) return;
    SyncGuard g(this);
    widget_->setEnabled(Control()->GetEnabled());
}

void QtPeer::FontChanged() {
    if (!widget_ || !owned_) return;
    SyncGuard g(this);
    widget_->setFont(ToQFont(Control()->GetFont()));
    QPalette pal = widget_->palette();
    const QColor text = ToQColor(Control()->GetFont()->GetColor());
    if (text.isValid()) {
        pal.setColor(QPalette::WindowText, text);
        pal.setColor(QPalette::Text, text);
        pal.setColor(QPalette::ButtonText, text);
    }
    widget_->setPalette(pal);
    widget_->update();
}

void QtPeer::ColorChanged() {
    if (!widget_ || !owned_) return;
    SyncGuard g(this);
    const QColor c = ToQColor(Control()->GetColor());
    if (!c.isValid()) return;
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Base, c);
    widget_->setPalette(pal);
    widget_->update();
}

void QtPeer::ZOrderChanged() {
    if (!widget_) return;
    vcl::TWinControl* c = Control();
    for (int i = 0; i < c->GetControlCount(); ++i) {
        auto* child = Dyn<vcl::TWinControl>(c->GetControl(i));
        if (!child) continue;
        if (auto* p = static_cast<QtPeer*>(child->GetPeer()); p && p->Widget())
            p->Widget()->raise();
    }
    widget_->update();
}

void QtPeer::Invalidate() {
    if (widget_) widget_->update();
}

void QtPeer::InvalidateControl(vcl::TControl* Child) {
    if (!widget_ || !Child) return;
    const QPoint o = ClientOffset();
    const QRect now(o.x() + Child->GetLeft(), o.y() + Child->GetTop(), Child->GetWidth(),
                    Child->GetHeight());
    // The model reports the new bounds only; where the child was is repainted too.
    auto it = painted_.find(Child);
    if (it != painted_.end()) widget_->update(it->second);
    widget_->update(now);
    painted_[Child] = now;
}

void QtPeer::ControlRemoved(vcl::TControl* Child) {
    auto it = painted_.find(Child);
    if (it == painted_.end()) {
        if (widget_) widget_->update();
        return;
    }
    if (widget_) widget_->update(it->second);
    painted_.erase(it);
}

void QtPeer::SetFocus() {
    if (!widget_ || Syncing()) return;
    SyncGuard g(this);
    QWidget* target = widget_->focusProxy() ? widget_->focusProxy() : widget_.data();
    if (target->window()->isVisible()) target->window()->activateWindow();
    target->setFocus(Qt::OtherFocusReason);
}

void QtPeer::DefaultHandler(vcl::TMessage& Message) {
    if (!widget_) return;
    if (Message.Msg != vcl::WM_CHAR && Message.Msg != vcl::WM_KEYDOWN) return;
    ++g_syntheticKeys;
    struct Done {
        ~Done() { --g_syntheticKeys; }
    } done;
    const bool accepted = Message.Msg == vcl::WM_CHAR
                              ? SendCharMessage(widget_, static_cast<unsigned>(Message.WParam))
                              : SendKeyDownMessage(widget_, static_cast<unsigned>(Message.WParam));
    Message.Result = accepted ? 0 : 1;
}

void QtPeer::WidgetGeometryChanged() {
    if (!widget_ || Syncing()) return;
    vcl::TWinControl* c = Control();
    const QRect g = widget_->geometry();
    int left = c->GetLeft(), top = c->GetTop();
    int width = c->GetWidth(), height = c->GetHeight();
    if (!c->GetParent()) {
        // The screen position of the control follows the real window, so that ScreenToClient
        // of the real cursor lands where the user points.
        const QPoint global = widget_->mapToGlobal(QPoint(0, 0));
        // A form's widget is its client area (the window manager draws the frame); any other
        // control's widget covers its whole bounds.
        if (Dyn<vcl::TCustomForm>(c)) {
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
    if (Dyn<vcl::TCustomForm>(c)) {
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
    SyncGuard guard(this);
    RunFromEvent(c, [&] { c->SetBounds(left, top, width, height); });
}

void QtPeer::MouseInput(int Kind, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                        Qt::KeyboardModifiers Modifiers, QPointF Pos, bool Double) {
    vcl::TWinControl* c = Control();
    vcl::TShiftState shift;
    if (Modifiers & Qt::ShiftModifier) shift.Include(vcl::ssShift);
    if (Modifiers & Qt::ControlModifier) shift.Include(vcl::ssCtrl);
    if (Modifiers & Qt::AltModifier) shift.Include(vcl::ssAlt);
    if (Buttons & Qt::LeftButton) shift.Include(vcl::ssLeft);
    if (Buttons & Qt::RightButton) shift.Include(vcl::ssRight);
    if (Buttons & Qt::MiddleButton) shift.Include(vcl::ssMiddle);
    if (Double) shift.Include(vcl::ssDouble);
    vcl::TMouseButton button = vcl::mbLeft;
    if (Button == Qt::RightButton)
        button = vcl::mbRight;
    else if (Button == Qt::MiddleButton)
        button = vcl::mbMiddle;
    else if (Button != Qt::LeftButton && Kind != 1)
        return;
    const QPoint o = ClientOffset();
    const int x = static_cast<int>(std::floor(Pos.x())) - o.x();
    const int y = static_cast<int>(std::floor(Pos.y())) - o.y();
    RunFromEvent(c, [&] {
        if (Kind == 0)
            c->InputMouseDown(button, shift, x, y);
        else if (Kind == 1)
            c->InputMouseMove(shift, x, y);
        else
            c->InputMouseUp(button, shift, x, y);
    });
}

// --- graphic children ---------------------------------------------------------------------------

namespace {

void PaintSpeed(QPainter& p, const QRect& r, vcl::TSpeedButton* b, const QPalette& pal) {
    SpeedButtonFace f;
    const vcl::TFont* font = b->GetFont();
    f.Caption = DisplayText(font->GetName(), b->GetCaption());
    f.Font = ToQFont(font);
    f.TextColor = ToQColor(font->GetColor());
    f.Glyph = ToQImage(b->GetGlyph());
    f.NumGlyphs = b->GetNumGlyphs();
    f.Layout = static_cast<GlyphLayout>(b->GetLayout());
    f.Margin = b->GetMargin();
    f.Spacing = b->GetSpacing();
    const vcl::TButtonState state = b->GetState();
    f.Down = state == vcl::bsDown || state == vcl::bsExclusive;
    f.Enabled = state != vcl::bsDisabled && b->IsEnabledInParents();
    f.Flat = b->GetFlat();
    f.Hot = b->MouseInControl();
    PaintSpeedButton(p, r, f, pal);
}

void PaintShape(QPainter& p, const QRect& bounds, vcl::TShape* s) {
    const vcl::TPen* pen = s->GetPen();
    const vcl::TBrush* brush = s->GetBrush();
    int pw = pen->GetStyle() == vcl::psClear ? 0 : pen->GetWidth();
    if (pw < 0) pw = 0;
    // The classic geometry: the outline is centred on the rectangle inset by half the pen.
    int x = pw / 2, y = pw / 2;
    int w = bounds.width() - pw + 1, h = bounds.height() - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    const vcl::TShapeType type = s->GetShape();
    if (type == vcl::stSquare || type == vcl::stRoundSquare || type == vcl::stCircle) {
        if (w < h) {
            y += (h - w) / 2;
            h = w;
        } else {
            x += (w - h) / 2;
            w = h;
        }
    }
    if (w <= 0 || h <= 0) return;
    const QRect outer(bounds.left() + x - pw / 2, bounds.top() + y - pw / 2, w + pw - 1,
                      h + pw - 1);
    const QColor penColor = ToQColor(pen->GetColor());
    const QColor brushColor = ToQColor(brush->GetColor());
    const bool fill = brush->GetStyle() != vcl::bsClear && brushColor.isValid();
    const bool rectangular = type == vcl::stRectangle || type == vcl::stSquare;
    if (rectangular &&
        (pen->GetStyle() == vcl::psSolid || pen->GetStyle() == vcl::psInsideFrame || pw == 0)) {
        // Pixel-exact and fast: a layout grid is hundreds of these.
        if (fill) p.fillRect(outer.adjusted(pw, pw, -pw, -pw), brushColor);
        if (pw > 0 && penColor.isValid()) {
            p.fillRect(QRect(outer.left(), outer.top(), outer.width(), pw), penColor);
            p.fillRect(QRect(outer.left(), outer.bottom() - pw + 1, outer.width(), pw), penColor);
            p.fillRect(QRect(outer.left(), outer.top(), pw, outer.height()), penColor);
            p.fillRect(QRect(outer.right() - pw + 1, outer.top(), pw, outer.height()), penColor);
        }
        return;
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, !rectangular);
    if (pw > 0 && penColor.isValid()) {
        QPen qp(penColor, pw);
        switch (pen->GetStyle()) {
        case vcl::psDash:
            qp.setStyle(Qt::DashLine);
            break;
        case vcl::psDot:
            qp.setStyle(Qt::DotLine);
            break;
        case vcl::psDashDot:
            qp.setStyle(Qt::DashDotLine);
            break;
        case vcl::psDashDotDot:
            qp.setStyle(Qt::DashDotDotLine);
            break;
        default:
            break;
        }
        p.setPen(qp);
    } else {
        p.setPen(Qt::NoPen);
    }
    p.setBrush(fill ? QBrush(brushColor) : QBrush(Qt::NoBrush));
    const QRectF shape = QRectF(outer).adjusted(pw / 2.0, pw / 2.0, -pw / 2.0, -pw / 2.0);
    if (type == vcl::stEllipse || type == vcl::stCircle)
        p.drawEllipse(shape);
    else if (type == vcl::stRoundRect || type == vcl::stRoundSquare) {
        const qreal r = std::min(w, h) / 4.0;
        p.drawRoundedRect(shape, r, r);
    } else
        p.drawRect(shape);
    p.restore();
}

void PaintLabel(QPainter& p, const QRect& r, vcl::TCustomLabel* l, const QPalette& pal) {
    if (!l->GetTransparent()) {
        const QColor bg = ToQColor(l->GetColor());
        if (bg.isValid()) p.fillRect(r, bg);
    }
    const vcl::TFont* font = l->GetFont();
    QString text = DisplayText(font->GetName(), l->GetCaption());
    int flags = 0;
    switch (l->GetAlignment()) {
    case vcl::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case vcl::taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case vcl::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    switch (l->GetLayout()) {
    case vcl::tlTop:
        flags |= Qt::AlignTop;
        break;
    case vcl::tlCenter:
        flags |= Qt::AlignVCenter;
        break;
    case vcl::tlBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    flags |= l->GetWordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    // "&x" underlines x and "&&" shows "&", as the classic label draws its accelerator.
    flags |= l->GetShowAccelChar() ? Qt::TextShowMnemonic : 0;
    p.setFont(ToQFont(font));
    if (l->IsEnabledInParents()) {
        const QColor c = ToQColor(font->GetColor());
        p.setPen(c.isValid() ? c : pal.color(QPalette::WindowText));
        p.drawText(r, flags, text);
    } else {
        p.setPen(pal.color(QPalette::Light));
        p.drawText(r.translated(1, 1), flags, text);
        p.setPen(pal.color(QPalette::Dark));
        p.drawText(r, flags, text);
    }
}

} // namespace

void QtPeer::PaintGraphicChildren(QPainter& p, const QRect& area) {
    vcl::TWinControl* c = Control();
    const QPoint o = ClientOffset();
    const QPalette pal = QApplication::palette();
    for (int i = 0; i < c->GetControlCount(); ++i) {
        vcl::TControl* child = c->GetControl(i);
        if (Dyn<vcl::TWinControl>(child) || !child->GetVisible()) continue;
        const QRect r(o.x() + child->GetLeft(), o.y() + child->GetTop(), child->GetWidth(),
                      child->GetHeight());
        painted_[child] = r;
        if (r.width() <= 0 || r.height() <= 0 || !r.intersects(area)) continue;
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
        if (auto* b = Dyn<vcl::TSpeedButton>(child))
            PaintSpeed(p, r, b, pal);
        else if (auto* s = Dyn<vcl::TShape>(child))
            PaintShape(p, r, s);
        else if (auto* l = Dyn<vcl::TCustomLabel>(child))
            PaintLabel(p, r, l, pal);
        p.restore();
    }
}

// --- containers ---------------------------------------------------------------------------------

class ContainerPeer : public QtPeer {
public:
    explicit ContainerPeer(vcl::TWinControl* c) : QtPeer(c) {
        auto* w = new HostWidget(this, nullptr);
        Attach(w);
    }
    ~ContainerPeer() override {
        // A form freed while it is shown modally ends its modal loop.
        if (auto* form = Dyn<vcl::TCustomForm>(Control()))
            if (TQtWidgetset* ws = QtWidgetset()) ws->EndModalLoops(form);
    }
    QPoint ClientOffset() const override {
        if (Dyn<vcl::TCustomForm>(Control())) return QPoint(); // the window manager draws the frame
        return QtPeer::ClientOffset();
    }
    void TextChanged() override;
    void Changed(vcl::TPeerChange What) override;
    void VisibleChanged() override;
    void ZOrderChanged() override;
    void ApplyBounds() override;
    virtual void Paint(QPainter& p, const QRect& area);
    void CloseRequested(QCloseEvent* e);

protected:
    void ApplyAll() override {
        ApplyWindowFlags();
        QtPeer::ApplyAll();
    }
    void ApplyWindowFlags();
    bool AcceptsFocus() const;
};

HostWidget::HostWidget(ContainerPeer* peer, QWidget* parent) : QWidget(parent), peer_(peer) {
    // Pointer moves without a button pressed reach the model too (hover, flat buttons, drags
    // that continue after the release).
    setMouseTracking(true);
    // Clicking a container, or a speed button on it, never takes the focus from an edit.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void HostWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    peer_->Paint(p, e->rect());
}

void HostWidget::input(int kind, QMouseEvent* e, bool dbl) {
    e->accept();
    peer_->MouseInput(kind, e->button(), e->buttons(), e->modifiers(), e->position(), dbl);
}

void HostWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    peer_->WidgetGeometryChanged();
}

void HostWidget::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (isWindow() || !peer_->Control()->GetParent()) peer_->WidgetGeometryChanged();
}

void HostWidget::closeEvent(QCloseEvent* e) {
    peer_->CloseRequested(e);
}

bool HostWidget::event(QEvent* e) {
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

void ContainerPeer::CloseRequested(QCloseEvent* e) {
    // The model decides: a modal form ends with mrCancel, another hides (or frees itself).
    e->ignore();
    if (Syncing()) return;
    if (auto* form = Dyn<vcl::TCustomForm>(Control())) {
        RunFromEvent(form, [&] { form->Close(); });
    } else {
        RunFromEvent(Control(), [&] { Control()->Hide(); });
    }
}

bool ContainerPeer::AcceptsFocus() const {
    // A window with nothing to type into (a keyboard of its own) must never become active, so
    // the focus stays in the window the user types into.
    std::function<bool(const vcl::TWinControl*)> any = [&](const vcl::TWinControl* w) {
        for (int i = 0; i < w->GetControlCount(); ++i) {
            auto* child = Dyn<vcl::TWinControl>(w->GetControl(i));
            if (!child) continue;
            if (child->GetTabStop() || Dyn<vcl::TButtonControl>(child) ||
                Dyn<TQtWidgetControl>(child))
                return true;
            if (any(child)) return true;
        }
        return false;
    };
    return any(Control());
}

void ContainerPeer::ApplyWindowFlags() {
    if (!widget_ || Control()->GetParent()) return;
    auto* form = Dyn<vcl::TCustomForm>(Control());
    Qt::WindowFlags flags = Qt::Window;
    if (form) {
        const vcl::TBorderIcons icons = form->GetBorderIcons();
        switch (form->GetBorderStyle()) {
        case vcl::bsNone:
            flags = Qt::Window | Qt::FramelessWindowHint;
            break;
        case vcl::bsDialog:
            flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            break;
        case vcl::bsToolWindow:
        case vcl::bsSizeToolWin:
            flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            break;
        default:
            flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            if (icons.Contains(vcl::biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
            if (icons.Contains(vcl::biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
            break;
        }
        if (form->GetBorderStyle() != vcl::bsNone && icons.Contains(vcl::biSystemMenu))
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (form->GetFormStyle() == vcl::fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    }
    const bool focusable = AcceptsFocus();
    if (!focusable) flags |= Qt::WindowDoesNotAcceptFocus;
    SyncGuard g(this);
    const bool visible = widget_->isVisible();
    if (widget_->windowFlags() != flags) widget_->setWindowFlags(flags);
    widget_->setAttribute(Qt::WA_ShowWithoutActivating, !focusable);
    if (visible && !widget_->isVisible()) widget_->show();
}

void ContainerPeer::ApplyBounds() {
    auto* form = Dyn<vcl::TCustomForm>(Control());
    if (!form || !widget_) {
        QtPeer::ApplyBounds();
        return;
    }
    SyncGuard g(this);
    const vcl::TPoint origin = form->ClientOrigin();
    const int w = form->GetClientWidth() > 0 ? form->GetClientWidth() : 0;
    const int h = form->GetClientHeight() > 0 ? form->GetClientHeight() : 0;
    if (widget_->isWindow())
        widget_->setGeometry(origin.X, origin.Y, w, h);
    else
        widget_->resize(w, h);
    const vcl::TFormBorderStyle bs = form->GetBorderStyle();
    if (widget_->isWindow() &&
        (bs == vcl::bsDialog || bs == vcl::bsSingle || bs == vcl::bsToolWindow))
        widget_->setFixedSize(w, h);
    else {
        widget_->setMinimumSize(0, 0);
        widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void ContainerPeer::TextChanged() {
    if (!widget_) return;
    if (Control()->GetParent() == nullptr) widget_->setWindowTitle(ToQString(Control()->GetText()));
    widget_->update();
}

void ContainerPeer::Changed(vcl::TPeerChange What) {
    if (What == vcl::pcFormOptions) {
        ApplyWindowFlags();
        ApplyBounds();
    }
    if (widget_) widget_->update();
}

void ContainerPeer::VisibleChanged() {
    if (!widget_) return;
    auto* form = Dyn<vcl::TCustomForm>(Control());
    if (form && widget_->isWindow() && Control()->GetVisible() && !widget_->isVisible()) {
        SyncGuard g(this);
        widget_->setWindowModality(form->FormState().Contains(vcl::fsModal) ? Qt::ApplicationModal
                                                                            : Qt::NonModal);
        ApplyWindowFlags();
        ApplyBounds();
        switch (form->GetWindowState()) {
        case vcl::wsMaximized:
            widget_->showMaximized();
            break;
        case vcl::wsMinimized:
            widget_->showMinimized();
            break;
        default:
            widget_->show();
            break;
        }
        if (form->FormState().Contains(vcl::fsModal) && AcceptsFocus()) {
            widget_->raise();
            widget_->activateWindow();
        }
        return;
    }
    QtPeer::VisibleChanged();
}

void ContainerPeer::ZOrderChanged() {
    QtPeer::ZOrderChanged();
    // A child that can take the focus may have arrived or gone.
    if (widget_ && !Control()->GetParent() && !widget_->isVisible()) ApplyWindowFlags();
}

namespace {

// The classic etched group frame with its caption over the top line.
void PaintGroupFrame(QPainter& p, vcl::TWinControl* c, const QRect& all, const QPalette& pal) {
    const QFont font = ToQFont(c->GetFont());
    const QFontMetrics fm(font);
    const int h = fm.height();
    QRect r(0, h / 2 - 1, all.width(), all.height() - (h / 2 - 1));
    QRect light = r.adjusted(1, 1, 0, 0);
    p.setPen(pal.color(QPalette::Light));
    p.drawRect(light.adjusted(0, 0, -1, -1));
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(r.adjusted(0, 0, -2, -2));
    const QString caption = DisplayText(c->GetFont()->GetName(), c->GetText());
    if (caption.isEmpty()) return;
    const QRect tr(8, 0, fm.horizontalAdvance(caption), h);
    p.fillRect(tr, ToQColor(c->GetColor()));
    p.setFont(font);
    const QColor fc = ToQColor(c->GetFont()->GetColor());
    p.setPen(c->IsEnabledInParents() ? (fc.isValid() ? fc : pal.color(QPalette::WindowText))
                                     : pal.color(QPalette::Dark));
    p.drawText(tr, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
               caption);
}

void PaintPanel(QPainter& p, vcl::TCustomPanel* panel, const QRect& all, const QPalette& pal) {
    QRect r = all;
    if (panel->GetBorderStyle() == vcl::bsSingle) {
        if (panel->GetCtl3D()) {
            Frame3D(p, r, pal.color(QPalette::Dark), pal.color(QPalette::Light), 1);
            Frame3D(p, r, pal.color(QPalette::Shadow), pal.color(QPalette::Midlight), 1);
        } else {
            Frame3D(p, r, pal.color(QPalette::Shadow), pal.color(QPalette::Shadow), 1);
        }
    }
    const QColor face = ToQColor(panel->GetColor());
    auto bevel = [&](vcl::TBevelCut cut) {
        if (cut == vcl::bvNone) return;
        QColor tl = pal.color(QPalette::Light), br = pal.color(QPalette::Dark);
        if (cut == vcl::bvLowered) std::swap(tl, br);
        if (cut == vcl::bvSpace) tl = br = face;
        Frame3D(p, r, tl, br, panel->GetBevelWidth());
    };
    bevel(panel->GetBevelOuter());
    Frame3D(p, r, face, face, panel->GetBorderWidth());
    bevel(panel->GetBevelInner());
    const QString caption = DisplayText(panel->GetFont()->GetName(), panel->GetText());
    if (caption.isEmpty()) return;
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    switch (panel->GetAlignment()) {
    case vcl::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case vcl::taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case vcl::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    p.setFont(ToQFont(panel->GetFont()));
    const QColor fc = ToQColor(panel->GetFont()->GetColor());
    p.setPen(panel->IsEnabledInParents() ? (fc.isValid() ? fc : pal.color(QPalette::WindowText))
                                         : pal.color(QPalette::Dark));
    p.drawText(r, flags, caption);
}

} // namespace

void ContainerPeer::Paint(QPainter& p, const QRect& area) {
    vcl::TWinControl* c = Control();
    const QRect all = widget_->rect();
    const QPalette pal = QApplication::palette();
    QColor bg = ToQColor(c->GetColor());
    if (!bg.isValid()) bg = pal.color(QPalette::Window);
    p.fillRect(area, bg);
    if (auto* panel = Dyn<vcl::TCustomPanel>(c))
        PaintPanel(p, panel, all, pal);
    else if (Dyn<vcl::TCustomGroupBox>(c))
        PaintGroupFrame(p, c, all, pal);
    PaintGraphicChildren(p, area);
}

// --- radio group --------------------------------------------------------------------------------

// A radio button that reacts anywhere in its cell, as the classic one does (Qt's reacts on its
// indicator and text only), which matters on a touch screen.
class CellRadioButton : public QRadioButton {
public:
    CellRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

class RadioGroupPeer : public ContainerPeer {
public:
    explicit RadioGroupPeer(vcl::TCustomRadioGroup* g) : ContainerPeer(g), group_(g) {
        buttons_ = new QButtonGroup(widget_);
        buttons_->setExclusive(true);
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
        ContainerPeer::Changed(What);
    }
    void ApplyBounds() override {
        ContainerPeer::ApplyBounds();
        Arrange();
    }
    void FontChanged() override {
        ContainerPeer::FontChanged();
        Arrange();
    }

private:
    void Rebuild() {
        if (!widget_) return;
        SyncGuard g(this);
        for (QAbstractButton* b : buttons_->buttons()) {
            buttons_->removeButton(b);
            delete b;
        }
        vcl::TStrings* items = group_->GetItems();
        for (int i = 0; i < items->GetCount(); ++i) {
            auto* b = new CellRadioButton(ToQString(items->Get(i)), widget_);
            b->setFocusPolicy(Qt::StrongFocus);
            buttons_->addButton(b, i);
            b->show();
        }
        Arrange();
        SyncChecked();
    }
    void SyncChecked() {
        SyncGuard g(this);
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
};

// --- standard controls --------------------------------------------------------------------------

class EditPeer : public QtPeer {
public:
    explicit EditPeer(vcl::TCustomEdit* e) : QtPeer(e), edit_(e) {
        auto* w = new QLineEdit();
        QObject::connect(w, &QLineEdit::textEdited, w, [this](const QString& text) {
            if (Syncing()) return;
            RunFromEvent(edit_, [&] { edit_->PeerTextChanged(FromQString(text)); });
            // The model may change what the user typed (character case); show its text.
            if (widget_ && FromQString(line()->text()) != edit_->GetText()) {
                SyncGuard g(this);
                const int pos = line()->cursorPosition();
                line()->setText(ToQString(edit_->GetText()));
                line()->setCursorPosition(pos);
            }
            ReportSelection();
        });
        QObject::connect(w, &QLineEdit::cursorPositionChanged, w, [this] { ReportSelection(); });
        QObject::connect(w, &QLineEdit::selectionChanged, w, [this] { ReportSelection(); });
        Attach(w);
        Changed(vcl::pcEditOptions);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (!widget_) return;
        const QString text = ToQString(edit_->GetText());
        if (line()->text() == text) return;
        SyncGuard g(this);
        line()->setText(text);
    }
    void Changed(vcl::TPeerChange What) override {
        if (!widget_) return;
        SyncGuard g(this);
        if (What == vcl::pcEditOptions || What == vcl::pcAppearance) {
            line()->setReadOnly(edit_->GetReadOnly());
            line()->setMaxLength(edit_->GetMaxLength() > 0 ? edit_->GetMaxLength() : 32767);
            line()->setEchoMode(edit_->GetPasswordChar() ? QLineEdit::Password : QLineEdit::Normal);
            line()->setFrame(edit_->GetBorderStyle() != vcl::bsNone);
        } else if (What == vcl::pcSelection) {
            const int start = edit_->GetSelStart(), len = edit_->GetSelLength();
            if (len > 0)
                line()->setSelection(start, len);
            else
                line()->setCursorPosition(start);
        }
    }

private:
    QLineEdit* line() const { return static_cast<QLineEdit*>(widget_.data()); }
    void ReportSelection() {
        if (!widget_ || Syncing()) return;
        QLineEdit* l = line();
        const int start = l->hasSelectedText() ? l->selectionStart() : l->cursorPosition();
        const int len = l->hasSelectedText() ? static_cast<int>(l->selectedText().size()) : 0;
        if (start == edit_->GetSelStart() && len == edit_->GetSelLength()) return;
        SyncGuard g(this);
        RunFromEvent(edit_, [&] { edit_->PeerSelectionChanged(start, len); });
    }
    vcl::TCustomEdit* edit_;
};

class ButtonPeer : public QtPeer {
public:
    explicit ButtonPeer(vcl::TButtonControl* b) : QtPeer(b) {
        auto* w = new QPushButton();
        w->setAutoDefault(false);
        QObject::connect(w, &QPushButton::clicked, w, [this] {
            if (Syncing()) return;
            vcl::TWinControl* c = Control();
            RunFromEvent(c, [c] { c->Click(); });
        });
        Attach(w);
        Changed(vcl::pcButtonOptions);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (widget_)
            static_cast<QPushButton*>(widget_.data())->setText(ToQString(Control()->GetText()));
    }
    void ColorChanged() override {} // a push button keeps the button face
    void Changed(vcl::TPeerChange What) override {
        if (What == vcl::pcButtonOptions && widget_)
            static_cast<QPushButton*>(widget_.data())
                ->setDefault(static_cast<vcl::TButtonControl*>(Control())->IsDefaultButton());
    }
};

class ComboPeer : public QtPeer {
public:
    explicit ComboPeer(vcl::TCustomComboBox* c) : QtPeer(c), combo_(c) {
        auto* w = new QComboBox();
        QObject::connect(w, &QComboBox::activated, w, [this](int index) {
            if (Syncing()) return;
            RunFromEvent(combo_, [&] { combo_->SelectItem(index); });
        });
        Attach(w);
        Changed(vcl::pcAppearance);
        Changed(vcl::pcItems);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void TextChanged() override {
        if (!widget_ || !box()->isEditable()) return;
        SyncGuard g(this);
        box()->setEditText(ToQString(combo_->GetText()));
    }
    void Changed(vcl::TPeerChange What) override {
        if (!widget_) return;
        SyncGuard g(this);
        if (What == vcl::pcAppearance) {
            const bool editable = combo_->GetStyle() != vcl::csDropDownList;
            if (box()->isEditable() != editable) {
                box()->setEditable(editable);
                if (editable) {
                    QObject::connect(box()->lineEdit(), &QLineEdit::textEdited, box(),
                                     [this](const QString& text) {
                                         if (Syncing()) return;
                                         RunFromEvent(combo_, [&] {
                                             combo_->PeerTextChanged(FromQString(text));
                                         });
                                     });
                }
            }
            box()->setMaxVisibleItems(combo_->GetDropDownCount() > 0 ? combo_->GetDropDownCount()
                                                                     : 8);
        } else if (What == vcl::pcItems) {
            box()->clear();
            vcl::TStrings* items = combo_->GetItems();
            for (int i = 0; i < items->GetCount(); ++i)
                box()->addItem(ToQString(items->Get(i)));
        }
        box()->setCurrentIndex(combo_->GetItemIndex());
        if (box()->isEditable()) box()->setEditText(ToQString(combo_->GetText()));
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget_.data()); }
    vcl::TCustomComboBox* combo_;
};

// The peer of a TQtWidgetControl: borrows the application's widget.
class ExternalPeer : public QtPeer {
public:
    explicit ExternalPeer(TQtWidgetControl* c) : QtPeer(c) {
        if (c->Widget()) Attach(c->Widget(), false);
    }
    QPoint ClientOffset() const override { return QPoint(); }
    void SetFocus() override {
        if (widget_) widget_->setFocus(Qt::OtherFocusReason);
    }
};

std::unique_ptr<vcl::TWinControlPeer> CreateQtPeer(vcl::TWinControl* c) {
    if (auto* x = Dyn<TQtWidgetControl>(c)) return std::make_unique<ExternalPeer>(x);
    if (auto* e = Dyn<vcl::TCustomEdit>(c)) return std::make_unique<EditPeer>(e);
    if (auto* b = Dyn<vcl::TButtonControl>(c)) return std::make_unique<ButtonPeer>(b);
    if (auto* cb = Dyn<vcl::TCustomComboBox>(c)) return std::make_unique<ComboPeer>(cb);
    if (auto* rg = Dyn<vcl::TCustomRadioGroup>(c)) return std::make_unique<RadioGroupPeer>(rg);
    return std::make_unique<ContainerPeer>(c);
}

} // namespace vcl::qt
