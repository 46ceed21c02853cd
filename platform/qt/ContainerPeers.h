#pragma once
// The peers of containers (internal to the widgetset): any windowed control that is not a
// standard control. Their widget, a HostWidget, paints the control and its graphic children and
// feeds pointer input into the model. A container without a parent control is a window of its
// own, unless a Qt program has put its widget into one of its own widgets.

#include <QPointer>
#include <QWidget>

#include "qt/Peers.h"

class QCloseEvent;
class QTouchEvent;

namespace vcl::qt {

class ContainerPeer;

class HostWidget : public QWidget {
public:
    HostWidget(ContainerPeer* peer, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override { input(vcl::mekDown, e, false); }
    // Qt reports the second press of a double click as a double click only; it is a press for
    // the model (with ssDouble), so a double tap on a key types twice.
    void mouseDoubleClickEvent(QMouseEvent* e) override { input(vcl::mekDown, e, true); }
    void mouseMoveEvent(QMouseEvent* e) override { input(vcl::mekMove, e, false); }
    void mouseReleaseEvent(QMouseEvent* e) override { input(vcl::mekUp, e, false); }
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void input(vcl::TMouseEventKind kind, QMouseEvent* e, bool dbl);
    void touch(QTouchEvent* e);
    ContainerPeer* peer_;
    QPointer<QWidget> watchedWindow_;
};

class ContainerPeer : public QtPeer {
public:
    // Makes the peer with its HostWidget.
    explicit ContainerPeer(vcl::TWinControl* c);

    void TextChanged() override;
    void Changed(vcl::TPeerChange What) override;
    void ZOrderChanged() override;
    void Invalidate() override;
    void InvalidateControl(vcl::TControl* Child) override;
    void ControlRemoved(vcl::TControl* Child) override;
    virtual void Paint(QPainter& p, const QRect& area);
    // The window's close button: the model decides.
    void CloseRequested(QCloseEvent* e);
    // Whether the control draws a frame or other parts of its own around its background.
    virtual bool DrawsItself() const { return false; }

protected:
    // Leaves the widget to the derived peer, which attaches it so that its own overrides apply.
    struct Unattached {};
    ContainerPeer(vcl::TWinControl* c, Unattached) : QtPeer(c) {}

    void ApplyAll() override {
        ApplyWindowFlags();
        ApplyTouch();
        QtPeer::ApplyAll();
    }
    // Lets touches reach the widget as touches when the control takes them itself.
    void ApplyTouch();
    // Makes a control without a parent control a window with the flags of WindowFlags(), unless
    // it is hosted: a Qt program has put its widget into one of its own widgets (QuimbelKeyboard
    // does), and there it stays a child when its children, keys or options change later.
    void ApplyWindowFlags();
    bool IsHosted() const { return !widget_->isWindow() && widget_->parentWidget(); }
    // The kind of window the control is when it has no parent control.
    virtual Qt::WindowFlags WindowFlags() const { return Qt::Window; }
    // What closing the window does: a control hides.
    virtual void Close() { Control()->Hide(); }
    // Draws the frame of the control over its background; All is the whole widget.
    virtual void PaintFrame(QPainter& p, const QRect& All, const QPalette& Palette) {
        (void)p, (void)All, (void)Palette;
    }
    bool AcceptsFocus() const;

private:
    // Partial repaints asked for since the widget was last painted, and whether the whole widget
    // waits for its repaint (then further changes ask for nothing).
    static constexpr int MaxPartialInvalidations = 16;
    int invalidations_ = 0;
    bool wholeDirty_ = false;
};

} // namespace vcl::qt
