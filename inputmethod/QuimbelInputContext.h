#pragma once
// The input context behind QT_IM_MODULE=quimbel: shows a QuimbelInputPanel when a field takes the
// focus by a click or a tap (or the program calls QInputMethod::show), hides it when the focus
// goes to something that takes no text, picks the pad from the field's hints and keeps the field
// in sight. Under X11 the panel is a window of its own that never takes the focus; on platforms
// where a client cannot place its windows (Wayland, eglfs, linuxfb, offscreen) it is drawn over
// the bottom (or top) of the focused top-level window.

#include <qpa/qplatforminputcontext.h>

#include <QPointer>
#include <QRectF>
#include <QStringList>

#include "inputmethod/InputConfig.h"
#include "inputmethod/QuimbelInputPanel.h"

class QuimbelInputContext : public QPlatformInputContext {
    Q_OBJECT
public:
    QuimbelInputContext();
    ~QuimbelInputContext() override;

    bool isValid() const override { return true; }
    void setFocusObject(QObject* object) override;
    void update(Qt::InputMethodQueries queries) override;
    void showInputPanel() override;
    void hideInputPanel() override;
    bool isInputPanelVisible() const override;
    QRectF keyboardRect() const override;

    // The panel, or null before it was first prepared or shown.
    QuimbelInputPanel* panel() const { return panel_; }
    // Makes the panel ready to show without showing it: created with its layout and theme, its
    // window (X11) created hidden with its surface, painted once off the screen so that its
    // fonts are loaded. The configuration's "prepare" runs this in the first idle moment after
    // the program's windows showed; the first show does whatever is still left. The time it
    // took is logged in the category quimbel.inputmethod.
    void prepare();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool acceptsText(QObject* object) const;
    bool ensurePanel();
    void prepareWhenIdle();
    void makeOwnWindow();
    QRect panelRect(const QRect& screen) const;
    void place();
    void setVisible(bool visible);
    void requestHide();
    void restoreMovedWindow();
    void report(const QString& problem);

    quimbel::im::InputConfig config_;
    QPointer<QuimbelInputPanel> panel_;
    QPointer<QObject> focus_;
    QPointer<QWidget> host_;        // the window the overlay is drawn in
    QPointer<QWidget> movedWindow_; // the window moved up to keep its field in sight
    QPoint movedFrom_;
    QRectF keyboardRect_;
    bool visible_ = false;
    bool ownWindow_ = false; // the panel is a window of its own (X11)
    bool placing_ = false;
    bool hidePending_ = false;
    bool focusMoving_ = false; // the focus object changed in this pass of the event loop
    QStringList reported_;
};
