#include "inputmethod/QuimbelInputContext.h"

#include "inputmethod/QuimbelInputPanel.h"
#include "QuimbelKeyboard.h"
#include "runtime/Keyboard.h"

#include <QAbstractEventDispatcher>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QBackingStore>
#include <QElapsedTimer>
#include <QImage>
#include <QInputMethodQueryEvent>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <memory>

Q_LOGGING_CATEGORY(lcInputMethod, "quimbel.inputmethod", QtWarningMsg)

namespace {

using quimbel::im::PanelPosition;

// Room left between the field and the panel, so the cursor is not flush against the keys.
constexpr int kMargin = 8;

QRect globalCursorRect(QObject* focus) {
    if (!focus) return {};
    QInputMethodQueryEvent query(Qt::ImCursorRectangle);
    QCoreApplication::sendEvent(focus, &query);
    const QRect r = query.value(Qt::ImCursorRectangle).toRect();
    if (auto* widget = qobject_cast<QWidget*>(focus))
        return QRect(widget->mapToGlobal(r.topLeft()), r.size());
    QWindow* window = QGuiApplication::focusWindow();
    const QRectF inWindow = QGuiApplication::inputMethod()->cursorRectangle();
    if (!window || !inWindow.isValid()) return {};
    return QRect(window->mapToGlobal(inWindow.topLeft().toPoint()), inWindow.size().toSize());
}

// Scrolls the nearest scroll area (the field itself for a text edit) that can bring the field's
// cursor above Limit (a global y). Returns whether the cursor is above it afterwards.
bool scrollAbove(QObject* focus, int limit) {
    for (auto* w = qobject_cast<QWidget*>(focus); w; w = w->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(w);
        if (!area) continue;
        QScrollBar* bar = area->verticalScrollBar();
        const QWidget* viewport = area->viewport();
        const int viewTop = viewport->mapToGlobal(QPoint(0, 0)).y();
        QRect cursor = globalCursorRect(focus);
        // The part of the viewport above the panel must hold the cursor.
        if (limit - kMargin - viewTop < cursor.height()) continue;
        // A plain text edit scrolls by lines, every other area by pixels.
        const bool byLines = qobject_cast<QPlainTextEdit*>(area) != nullptr;
        for (int step = 0; step < 1000 && cursor.bottom() + kMargin >= limit; ++step) {
            const int before = bar->value();
            bar->setValue(before + (byLines ? 1 : cursor.bottom() + kMargin - limit + 1));
            if (bar->value() == before) break;
            cursor = globalCursorRect(focus);
        }
        if (cursor.bottom() + kMargin < limit) return true;
    }
    return false;
}

// The window of the field that had the focus last (one input context serves the application).
QPointer<QWindow> fieldWindow;
// Where the input context last moved a window up to, to tell whether the program moved it since.
QPoint movedTo;

// Deletes the panel while the application still stands, after the program's own windows.
class PanelOwner : public QObject {
public:
    explicit PanelOwner(QObject* parent) : QObject(parent) {}
    ~PanelOwner() override { delete panel; }
    QPointer<QuimbelInputPanel> panel;
};

} // namespace

QuimbelInputContext::QuimbelInputContext() {
    QStringList problems;
    config_ = quimbel::im::ReadInputConfig(problems);
    for (const QString& problem : problems)
        report(problem);
    if (config_.prepare) prepareWhenIdle();
}

// Idle is when the event loop is about to wait for events with every window the program shows
// already exposed, so that the preparation never delays the program's own first frames.
void QuimbelInputContext::prepareWhenIdle() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher) return;
    auto connection = std::make_shared<QMetaObject::Connection>();
    auto idle = [this, connection] {
        if (!panel_) { // else the first show came first
            bool shown = false;
            for (QWindow* window : QGuiApplication::topLevelWindows()) {
                if (!window->isVisible()) continue;
                if (!window->isExposed()) return;
                shown = true;
            }
            if (!shown) return;
            QTimer::singleShot(0, this, &QuimbelInputContext::prepare);
        }
        disconnect(*connection);
    };
    *connection = connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, idle);
}

void QuimbelInputContext::prepare() {
    // Without widgets the first show tells why there is no panel.
    if (panel_ || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QElapsedTimer timer;
    timer.start();
    if (!ensurePanel()) return;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        makeOwnWindow();
        panel_->setGeometry(panelRect(screen->geometry()));
        panel_->winId(); // creates the window, hidden
        if (QBackingStore* store = panel_->backingStore()) store->resize(panel_->size());
    } else {
        // Drawn inside the focused window later; the size is what it will be on a window as
        // wide as the screen.
        panel_->resize(panelRect(screen->geometry()).size());
    }
    // Painted at the screen's pixel ratio, so that the glyphs it caches are the ones shown.
    const qreal ratio = screen->devicePixelRatio();
    QImage image(panel_->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    panel_->render(&image);
    qCDebug(lcInputMethod, "panel prepared in %.3f ms", timer.nsecsElapsed() / 1e6);
}

QuimbelInputContext::~QuimbelInputContext() = default;

void QuimbelInputContext::report(const QString& problem) {
    if (reported_.contains(problem)) return;
    reported_ << problem;
    std::fprintf(stderr, "quimbel: %s\n", qUtf8Printable(problem));
}

bool QuimbelInputContext::acceptsText(QObject* object) const {
    if (!object) return false;
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(object, &query);
    return query.value(Qt::ImEnabled).toBool();
}

static Qt::InputMethodHints hintsOf(QObject* object) {
    if (!object) return Qt::ImhNone;
    QInputMethodQueryEvent query(Qt::ImHints);
    QCoreApplication::sendEvent(object, &query);
    return Qt::InputMethodHints(query.value(Qt::ImHints).toInt());
}

void QuimbelInputContext::setFocusObject(QObject* object) {
    // Platforms that activate every window they show (offscreen) ignore that the panel's own
    // window takes no focus: the field's window gets it back.
    QWindow* focusWindow = QGuiApplication::focusWindow();
    if (panel_ && ownWindow_ && focusWindow && focusWindow == panel_->windowHandle()) {
        if (fieldWindow) fieldWindow->requestActivate();
        return;
    }
    if (acceptsText(object)) fieldWindow = focusWindow;
    focus_ = object;
    if (!focusMoving_) {
        focusMoving_ = true;
        QTimer::singleShot(0, this, [this] { focusMoving_ = false; });
    }
    if (acceptsText(object)) {
        hidePending_ = false;
        // Widgets ask for the panel only on a click into a field that had the focus already, so
        // a press that moves the focus into a field shows it here.
        if (visible_ || QGuiApplication::mouseButtons() != Qt::NoButton) showInputPanel();
        return;
    }
    requestHide();
}

// Widgets ask for the panel to hide whenever a field loses the focus, also on the way to another
// field, and the focus passes through nothing when windows change activation. The panel hides a
// moment later unless a field takes the focus meanwhile, so that it never hides and shows again
// in between.
void QuimbelInputContext::requestHide() {
    if (!visible_ || hidePending_) return;
    hidePending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (hidePending_) setVisible(false);
    });
}

void QuimbelInputContext::update(Qt::InputMethodQueries queries) {
    if (!visible_ || placing_ || !panel_) return;
    if (queries & Qt::ImEnabled && !acceptsText(focus_)) {
        setVisible(false);
        return;
    }
    if (queries & Qt::ImHints) panel_->applyHints(hintsOf(focus_));
    if (queries & (Qt::ImHints | Qt::ImCursorRectangle)) place();
}

void QuimbelInputContext::showInputPanel() {
    if (!ensurePanel()) return;
    panel_->applyHints(hintsOf(focus_));
    setVisible(true);
}

void QuimbelInputContext::hideInputPanel() {
    // The request of a field that lost the focus to another field, which wants the panel too.
    if (focusMoving_ && acceptsText(focus_)) return;
    requestHide();
}

bool QuimbelInputContext::isInputPanelVisible() const { return visible_ && panel_; }

QRectF QuimbelInputContext::keyboardRect() const { return keyboardRect_; }

bool QuimbelInputContext::ensurePanel() {
    if (panel_) return true;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        report(QStringLiteral("the keyboard needs a Qt Widgets application (QApplication); "
                              "this program runs without one"));
        return false;
    }
    panel_ = new QuimbelInputPanel;
    auto* owner = new PanelOwner(QCoreApplication::instance());
    owner->panel = panel_;
    connect(panel_, &QObject::destroyed, owner, &QObject::deleteLater);
    connect(qApp, &QCoreApplication::aboutToQuit, panel_, [this] {
        setVisible(false);
        delete panel_;
    });
    connect(panel_, &QuimbelInputPanel::hideRequested, this, [this] { setVisible(false); });
    connect(panel_, &QuimbelInputPanel::layoutFailed, this,
            [this](const QString& layout, const QString& reason) {
                report(QStringLiteral("layout %1: %2").arg(layout, reason));
            });
    // A panel that goes away with the window it was drawn in leaves the panel hidden.
    connect(panel_, &QObject::destroyed, this, [this] {
        ownWindow_ = false;
        if (visible_) setVisible(false);
    });
    panel_->setLayouts(config_.layouts);
    panel_->keyboard()->setBeep(config_.beep);
    panel_->setTheme(config_.theme);
    panel_->setKeyPreview(config_.keyPreview);
    quimbel::TKeyboard* keys = panel_->keyboard()->keyboard();
    keys->SetKeyRepeat(config_.keyRepeat);
    keys->SetRepeatDelay(config_.repeatDelay);
    keys->SetRepeatRate(config_.repeatRate);
    keys->SetLongPressAlternates(config_.longPress);
    keys->SetMultiTouch(config_.multiTouch);
    keys->SetScaleCaptions(config_.scaleCaptions);
    keys->SetLatchModifiers(config_.latching);
    keys->SetCapsLockLettersOnly(config_.capsLettersOnly);
    if (config_.highlightColor.isValid())
        panel_->keyboard()->setHighlightColor(config_.highlightColor);
    return true;
}

// A window the window manager leaves alone: shown at once without waiting for the manager to map
// it, above the managed windows (place raises it at each show), and never given the focus.
void QuimbelInputContext::makeOwnWindow() {
    panel_->hide();
    panel_->setParent(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint |
                                   Qt::WindowDoesNotAcceptFocus);
    panel_->setAttribute(Qt::WA_ShowWithoutActivating);
    panel_->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    ownWindow_ = true;
}

// The strip across the bottom (or the top) of a screen, of the configured height.
QRect QuimbelInputContext::panelRect(const QRect& screen) const {
    const int h = screen.height() * config_.heightPercent / 100;
    if (config_.position == PanelPosition::Top)
        return QRect(screen.topLeft(), QSize(screen.width(), h));
    return QRect(screen.left(), screen.bottom() - h + 1, screen.width(), h);
}

void QuimbelInputContext::place() {
    if (!panel_ || placing_) return;
    placing_ = true;
    auto* widget = qobject_cast<QWidget*>(focus_.data());
    QWidget* top = widget ? widget->window() : nullptr;
    QWindow* focusWindow = QGuiApplication::focusWindow();
    QScreen* screen = top ? top->screen()
                          : focusWindow ? focusWindow->screen() : QGuiApplication::primaryScreen();
    const QRect screenRect = screen->geometry();

    // X11 lets a client place a window of its own; elsewhere the panel lives in the application's
    // window. A field of a window that is no widget gets the panel's own window everywhere.
    const bool ownWindow = QGuiApplication::platformName() == QLatin1String("xcb") || !top;
    if (ownWindow && (!ownWindow_ || panel_->parentWidget())) {
        makeOwnWindow();
    } else if (!ownWindow && panel_->parentWidget() != top) {
        panel_->setParent(top);
    }
    ownWindow_ = ownWindow;
    // A window moved up for a field of its own goes back when the focus is in another window.
    if (movedWindow_ && movedWindow_ != top) restoreMovedWindow();
    if (host_ != top) {
        if (host_) host_->removeEventFilter(this);
        host_ = top;
        if (top) top->installEventFilter(this);
    }

    const QRect area = ownWindow ? screenRect : QRect(top->mapToGlobal(QPoint(0, 0)), top->size());
    const int height = panelRect(screenRect).height();
    const int h = ownWindow ? height : qMin(height, area.height() / 2);
    const QRect atBottom(area.left(), area.bottom() - h + 1, area.width(), h);
    const QRect atTop(area.left(), area.top(), area.width(), h);
    QRect rect = config_.position == PanelPosition::Top ? atTop : atBottom;
    if (config_.position != PanelPosition::Top) {
        QRect field = globalCursorRect(focus_);
        if (field.isValid() && field.bottom() + kMargin >= rect.top() &&
            !scrollAbove(focus_, rect.top())) {
            field = globalCursorRect(focus_);
            if (ownWindow && top) {
                // Under X11 the window moves up far enough to show its field above the panel.
                // Where the program put it last is where it goes back to.
                if (!movedWindow_ || top->pos() != movedTo) {
                    movedWindow_ = top;
                    movedFrom_ = top->pos();
                }
                top->move(top->pos() - QPoint(0, field.bottom() + kMargin - rect.top() + 1));
                movedTo = top->pos();
            } else if (config_.position == PanelPosition::Automatic &&
                       field.top() > atTop.bottom()) {
                rect = atTop;
            }
        }
    }
    panel_->setGeometry(ownWindow ? rect : QRect(top->mapFromGlobal(rect.topLeft()), rect.size()));
    panel_->raise();
    panel_->show();

    QRectF covered(rect);
    if (focusWindow) covered.moveTopLeft(focusWindow->mapFromGlobal(rect.topLeft()));
    if (covered != keyboardRect_) {
        keyboardRect_ = covered;
        emitKeyboardRectChanged();
    }
    placing_ = false;
}

void QuimbelInputContext::setVisible(bool visible) {
    if (visible) {
        if (!ensurePanel()) return;
        place();
        if (!visible_) {
            visible_ = true;
            emitInputPanelVisibleChanged();
        }
        return;
    }
    hidePending_ = false;
    if (panel_) {
        panel_->hide();
        // The window system may still read what was last shown from the window's buffer, and
        // painting into it waits until it has: that wait is taken now rather than at the next show.
        if (QBackingStore* store = ownWindow_ ? panel_->backingStore() : nullptr) {
            store->beginPaint(QRect(QPoint(), store->size()));
            store->endPaint();
        }
    }
    restoreMovedWindow();
    if (!keyboardRect_.isEmpty()) {
        keyboardRect_ = QRectF();
        emitKeyboardRectChanged();
    }
    if (visible_) {
        visible_ = false;
        emitInputPanelVisibleChanged();
    }
}

// A window the program has moved since stays where the program put it.
void QuimbelInputContext::restoreMovedWindow() {
    if (movedWindow_ && movedWindow_->pos() == movedTo) movedWindow_->move(movedFrom_);
    movedWindow_ = nullptr;
}

bool QuimbelInputContext::eventFilter(QObject* watched, QEvent* event) {
    if (watched == host_ && visible_) {
        switch (event->type()) {
        case QEvent::Resize:
            if (!ownWindow_) place();
            break;
        case QEvent::Hide: // the window was closed or minimised
            setVisible(false);
            break;
        default:
            break;
        }
    }
    return QPlatformInputContext::eventFilter(watched, event);
}
