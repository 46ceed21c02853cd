#pragma once
// The peers of the windowed controls (internal to the widgetset).
//
// Every peer owns one QWidget (except the peer of a TQtWidgetControl, which borrows one). Child
// widgets sit in the widget of the parent's peer at the model's bounds, offset by the parent's
// non-client frame. Containers (forms, panels, group boxes, radio groups, any other control)
// use a HostWidget, which paints the control and its graphic children and feeds pointer input
// into the model; standard controls use the matching Qt widget and report what the user changes
// through the model's entry points.

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <unordered_map>

#include "qt/PeerTable.h"
#include "vcl/Controls.h"
#include "vcl/Widgetset.h"

class QPainter;

namespace vcl {
class TCustomForm;
} // namespace vcl

namespace vcl::qt {

class QtPeer;

// Runs a model call from a Qt event: an exception goes to the application's exception handling
// instead of through Qt, and work the model queued for after the event runs at its end.
void RunFromEvent(vcl::TObject* Sender, const std::function<void()>& Call);

// How many model calls from Qt events are running, nested (a modal loop runs inside one).
int EventDepth();

// True while a peer delivers a key message it synthesised, so the widgetset's dialog-key
// handling leaves that key alone.
bool DeliveringSyntheticKey();

// True while a peer hands a turn of the wheel to its native widget, so the widgetset lets Qt
// deliver it.
bool DeliveringWheel();

// The peer of a widget (or of its nearest ancestor that has one), or null.
QtPeer* PeerOf(const QWidget* Widget, bool SearchAncestors = false);

class QtPeer : public vcl::TWinControlPeer {
public:
    explicit QtPeer(vcl::TWinControl* Control);
    ~QtPeer() override;

    QWidget* Widget() const { return widget_; }
    // Where the pixel (0, 0) of the control's client area lies in its widget.
    virtual QPoint ClientOffset() const;
    // Places the widget in the parent's peer (or as a window) and applies every property.
    void Attach(QWidget* Widget, bool Owned = true);
    // True while the peer itself changes the widget, so widget notifications are not echoed.
    bool Syncing() const { return syncing_ > 0; }

    void BoundsChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void TextChanged() override {}
    void FontChanged() override;
    void ColorChanged() override;
    void ZOrderChanged() override;
    void Changed(vcl::TPeerChange What) override { (void)What; }
    void Invalidate() override;
    void InvalidateControl(vcl::TControl* Child) override;
    void ControlRemoved(vcl::TControl* Child) override;
    void SetFocus() override;
    void DefaultHandler(vcl::TMessage& Message) override;

    // The widget was moved or resized by Qt (a window manager, a Qt layout): the model follows.
    void WidgetGeometryChanged();
    // Asks for a repaint of Area of the widget, all of it when Area is null; the widget exists.
    // The widget's kept image (KeepImage) goes stale there.
    void Repaint(const QRect& Area = QRect());
    // Paints the graphic children that intersect the area, in z-order.
    void PaintGraphicChildren(QPainter& Painter, const QRect& Area);
    // The hint to show at a point of the widget: of the graphic child there, else of the
    // control; Area is the part of the widget it belongs to. Empty when none is to be shown.
    QString HintAt(QPoint Pos, QRect& Area) const;
    // Pointer input at widget coordinates.
    void MouseInput(vcl::TMouseEventKind Kind, Qt::MouseButton Button, Qt::MouseButtons Buttons,
                    Qt::KeyboardModifiers Modifiers, QPointF Pos, bool Double);
    // A turn of the wheel at widget coordinates; true when a control used it.
    bool WheelInput(int Delta, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers,
                    QPointF Pos);

protected:
    // Marks the peer as changing its widget until the returned guard goes.
    auto Sync() {
        ++syncing_;
        return vcl::TFinally([this] { --syncing_; });
    }
    virtual void ApplyBounds();
    virtual void ApplyAll();
    // The widget of the parent control's peer, or null.
    QWidget* ParentWidget() const;
    // True while the peer is being attached and its control has windowed children, whose peers
    // come next: the widget stays hidden until they are in it, when the model shows it once
    // (TWinControlPeer::VisibleChanged). Children placed into a shown widget one by one cost
    // work for every sibling already there.
    bool ShowWaitsForChildren() const;
    // Shows the widget (or a window: Show does); when it brought many children onto the screen
    // at once, the widget repaints them with itself, instead of each child alone, which would
    // weigh it against every sibling.
    void ShowWidget(const std::function<void(QWidget*)>& Show = {});
    bool IsTopLevel() const;
    // Whether the native widget may use a turn of the wheel now.
    virtual bool UsesWheel() const { return true; }
    // The control, when it is a form.
    vcl::TCustomForm* Form() const;
    // Hands a WM_MOUSEWHEEL to the native widget; true when a widget used it.
    bool DeliverWheel(const vcl::TMessage& Message);

    QPointer<QWidget> widget_;
    const QWidget* key_ = nullptr;
    // A graphic child: where it was painted last, to repaint that area when it moves or goes,
    // and which painter draws it.
    struct GraphicChild {
        QRect Painted;
        GraphicPainter Paint = nullptr;
    };
    GraphicChild& GraphicChildEntry(vcl::TControl* Child);
    std::unordered_map<const vcl::TControl*, GraphicChild> painted_;

    bool owned_ = true;
    int syncing_ = 0;
};

} // namespace vcl::qt
