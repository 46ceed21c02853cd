// The peer of a form: a container whose window follows the form's border style and icons, with
// the form's main menu in a menu bar above the client area, shown modally or not, and closed by
// the model.

#include <QMenuBar>

#include "qt/ContainerPeers.h"
#include "qt/MenuPeers.h"
#include "qt/PeerTable.h"
#include "qt/QtWidgetset.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

namespace vcl::qt {

namespace {

class FormPeer : public ContainerPeer {
public:
    explicit FormPeer(vcl::TCustomForm* f) : ContainerPeer(f, Unattached{}), form_(f) {
        // Attached here, so that the form's own bounds, menu and window flags apply at once.
        Attach(new HostWidget(this, nullptr));
    }
    ~FormPeer() override {
        // A form freed while it is shown modally ends its modal loop.
        if (TQtWidgetset* ws = QtWidgetset()) ws->EndModalLoops(form_);
    }
    QPoint ClientOffset() const override {
        // The window manager draws a form's frame; its menu bar lies above the client area.
        return QPoint(0, form_->GetMenu() ? vcl::Widgetset()->MenuBarHeight() : 0);
    }
    void Changed(vcl::TPeerChange What) override;
    void VisibleChanged() override;
    void ApplyBounds() override;

protected:
    void ApplyAll() override {
        ApplyWindowFlags();
        ApplyMenu();
        QtPeer::ApplyAll();
    }
    Qt::WindowFlags WindowFlags() const override;
    // A modal form ends with mrCancel, another hides (or frees itself).
    void Close() override { form_->Close(); }

private:
    // Shows the form's main menu in a menu bar of its own, made anew after every change.
    void ApplyMenu();

    vcl::TCustomForm* const form_;
    QPointer<QMenuBar> menuBar_;
};

Qt::WindowFlags FormPeer::WindowFlags() const {
    const vcl::TBorderIcons icons = form_->GetBorderIcons();
    Qt::WindowFlags flags;
    switch (form_->GetBorderStyle()) {
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
    if (form_->GetBorderStyle() != vcl::bsNone && icons.Contains(vcl::biSystemMenu))
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (form_->GetFormStyle() == vcl::fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

void FormPeer::ApplyBounds() {
    if (!widget_) return;
    const auto sync = Sync();
    const vcl::TPoint origin = form_->ClientOrigin();
    const int menu = ClientOffset().y();
    const int w = form_->GetClientWidth() > 0 ? form_->GetClientWidth() : 0;
    const int h = (form_->GetClientHeight() > 0 ? form_->GetClientHeight() : 0) + menu;
    if (menuBar_) menuBar_->setGeometry(0, 0, w, menu);
    if (widget_->isWindow())
        widget_->setGeometry(origin.X, origin.Y - menu, w, h);
    else
        widget_->resize(w, h);
    const vcl::TFormBorderStyle bs = form_->GetBorderStyle();
    if (widget_->isWindow() &&
        (bs == vcl::bsDialog || bs == vcl::bsSingle || bs == vcl::bsToolWindow))
        widget_->setFixedSize(w, h);
    else {
        widget_->setMinimumSize(0, 0);
        widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
}

void FormPeer::ApplyMenu() {
    if (!widget_) return;
    if (menuBar_) {
        // The old bar may be emitting the signal of the item whose handler changed the menu.
        menuBar_->hide();
        menuBar_->setParent(nullptr);
        if (EventDepth() > 0)
            menuBar_->deleteLater();
        else
            delete menuBar_.data();
    }
    if (vcl::TMainMenu* menu = form_->GetMenu()) {
        menuBar_ = CreateMenuBar(widget_, menu);
        menuBar_->show();
    }
}

void FormPeer::Changed(vcl::TPeerChange What) {
    if (What == vcl::pcFormOptions) {
        ApplyWindowFlags();
        ApplyBounds();
    }
    if (What == vcl::pcMenu) {
        ApplyMenu();
        ApplyBounds();
    }
    ContainerPeer::Changed(What);
}

void FormPeer::VisibleChanged() {
    if (!widget_ || ShowWaitsForChildren()) return;
    if (widget_->isWindow() && form_->GetVisible() && !widget_->isVisible()) {
        const auto sync = Sync();
        widget_->setWindowModality(form_->FormState().Contains(vcl::fsModal) ? Qt::ApplicationModal
                                                                             : Qt::NonModal);
        ApplyWindowFlags();
        ApplyBounds();
        ShowWidget([state = form_->GetWindowState()](QWidget* w) {
            switch (state) {
            case vcl::wsMaximized:
                w->showMaximized();
                break;
            case vcl::wsMinimized:
                w->showMinimized();
                break;
            default:
                w->show();
                break;
            }
        });
        if (form_->FormState().Contains(vcl::fsModal) && AcceptsFocus()) {
            widget_->raise();
            widget_->activateWindow();
        }
        return;
    }
    QtPeer::VisibleChanged();
}

} // namespace

void RegisterFormPeer(PeerTable& Table) {
    Table.Add(vcl::TCustomForm::StaticClass(), MakePeer<FormPeer, vcl::TCustomForm>);
}

} // namespace vcl::qt
