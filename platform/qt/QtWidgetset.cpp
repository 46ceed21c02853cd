#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include "qt/Accessibility.h"
#include "qt/Codepage.h"
#include "qt/Colors.h"
#include "qt/ContainerPeers.h"
#include "qt/Convert.h"
#include "qt/KeyInput.h"
#include "qt/MenuPeers.h"
#include "qt/NativeDialogs.h"
#include "qt/PaintKeeper.h"
#include "qt/Peers.h"
#include "qt/Symbols.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/KeyHooks.h"
#include "vcl/Menus.h"

namespace vcl::qt {

namespace {

TQtWidgetset* g_installed = nullptr;
vcl::TWidgetset* g_previous = nullptr;

QWidget* ActiveParent() {
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

} // namespace

// --- TQtWidgetControl ---------------------------------------------------------------------------

VCL_DEFINE_PLAIN_CLASS(TQtWidgetControl, vcl::TWinControl)

TQtWidgetControl::TQtWidgetControl(vcl::TComponent* AOwner, QWidget* Widget)
    : vcl::TWinControl(AOwner) {
    SetWidget(Widget);
}

TQtWidgetControl::~TQtWidgetControl() {
    QObject::disconnect(destroyedConnection_);
}

void TQtWidgetControl::SetWidget(QWidget* Widget) {
    QObject::disconnect(destroyedConnection_);
    DestroyHandle();
    widget_ = Widget;
    if (Widget) {
        destroyedConnection_ =
            QObject::connect(Widget, &QObject::destroyed, [this] { widgetDestroyed(); });
        const QRect g = Widget->geometry();
        SetBounds(g.x(), g.y(), g.width(), g.height());
        HandleNeeded();
    }
}

void TQtWidgetControl::widgetDestroyed() {
    QObject::disconnect(destroyedConnection_);
    widget_.clear();
    DestroyHandle();
    if (OnWidgetDestroyed) {
        TQtWidgetControl* self = this;
        RunFromEvent(self, [self] { self->OnWidgetDestroyed(self); });
    }
}

// --- the widgetset ------------------------------------------------------------------------------

struct TQtWidgetset::ModalLoop {
    const vcl::TCustomForm* Form = nullptr;
    int Base = 0;
    QEventLoop Loop;
};

// Every key a person presses or releases anywhere in the application goes to the model's key
// hooks first; one they take goes nowhere else. Return, Enter, Escape and Tab that a user types
// into a control are then the form's dialog keys (default and cancel buttons, the model's tab
// order); keys the model leaves alone take their native course. Keys a keyboard sends with
// Perform are neither.
class TQtWidgetset::KeyFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press = event->type() == QEvent::KeyPress;
        if ((!press && event->type() != QEvent::KeyRelease) || DeliveringSyntheticKey())
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        // A key the first receiver ignored travels on to its parents; it was handled (or left
        // alone) at the first one already.
        if (event == lastEvent_ && lastReceiver_ && widget != lastReceiver_ &&
            widget->isAncestorOf(lastReceiver_))
            return false;
        lastEvent_ = event;
        lastReceiver_ = widget;
        auto* key = static_cast<QKeyEvent*>(event);
        const vcl::Word vk = static_cast<vcl::Word>(QtKeyToVirtualKey(key->key()));
        if (vk && vcl::KeysHooked()) {
            bool taken = false;
            RunFromEvent(nullptr,
                         [&] { taken = vcl::InputApplicationKey(vk, press, key->isAutoRepeat()); });
            if (taken) return true;
        }
        if (!press || (vk != vcl::VK_RETURN && vk != vcl::VK_ESCAPE && vk != vcl::VK_TAB))
            return false;
        QtPeer* peer = PeerOf(widget, true);
        if (!peer) return false;
        vcl::TShiftState shift = ToShiftState(key->modifiers());
        if (key->key() == Qt::Key_Backtab) shift.Include(vcl::ssShift);
        bool used = false;
        vcl::TWinControl* control = peer->Control();
        RunFromEvent(control, [&] { used = control->InputKeyDown(vk, shift); });
        return used;
    }

private:
    const QEvent* lastEvent_ = nullptr;
    QPointer<QWidget> lastReceiver_;
};

// While the pointer rests on a control, its hint shows as a tooltip: the hint of the graphic child
// under the pointer (a speed button its container paints), else of the windowed control. A widget
// with a tooltip of its own, and a control without a hint to show, keep Qt's handling.
class TQtWidgetset::HintFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->toolTip().isEmpty()) return false;
        QtPeer* peer = PeerOf(widget, true);
        if (!peer || !peer->Widget()) return false;
        auto* help = static_cast<QHelpEvent*>(event);
        QRect area;
        const QString hint = peer->HintAt(widget->mapTo(peer->Widget(), help->pos()), area);
        if (hint.isEmpty()) return false;
        QToolTip::showText(help->globalPos(), hint, peer->Widget(), area);
        return true;
    }
};

// A turn of the wheel enters the model where Qt delivers it first, at the deepest widget under the
// pointer; the model passes it up its controls and lets native widgets that use the wheel have it
// in that order. A turn no control used goes on to the Qt widgets around the model's controls
// (a Qt program's scroll area); the model's own widgets on that way have seen it already.
class TQtWidgetset::WheelFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel || DeliveringWheel()) return false;
        auto* wheel = static_cast<QWheelEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        // A sideways turn takes Qt's own course.
        if (!widget || wheel->angleDelta().y() == 0) return false;
        QtPeer* peer = nullptr;
        for (QWidget* w = widget; w && !(peer = PeerOf(w));
             w = w->isWindow() ? nullptr : w->parentWidget()) {
        }
        if (!peer || !peer->Widget()) return false;
        // Qt passes a turn that a widget ignores on to its parent as a new, not spontaneous
        // event; a widget with a child under the pointer is such a parent (or was sent the
        // event by a program, which Qt would have delivered to the child).
        const bool first = wheel->spontaneous() || !widget->childAt(wheel->position().toPoint());
        bool used = false;
        if (first)
            used = peer->WheelInput(wheel->angleDelta().y(), wheel->buttons(), wheel->modifiers(),
                                    widget->mapTo(peer->Widget(), wheel->position()));
        wheel->setAccepted(used);
        return true;
    }
};

TQtWidgetset::TQtWidgetset()
    : keyFilter_(std::make_unique<KeyFilter>()), hintFilter_(std::make_unique<HintFilter>()),
      wheelFilter_(std::make_unique<WheelFilter>()) {
    if (qApp) qApp->installEventFilter(keyFilter_.get());
    if (qApp) qApp->installEventFilter(hintFilter_.get());
    if (qApp) qApp->installEventFilter(wheelFilter_.get());
    // Keep the model's idea of the focus in step with the user's clicks into native controls.
    if (qApp)
        QObject::connect(qApp, &QApplication::focusChanged, keyFilter_.get(),
                         [](QWidget*, QWidget* now) {
                             // A window behind a modal one may still get the focus from a late
                             // activation event; following it would take the focus out of the
                             // modal window, whose activation takes it back, without end.
                             QWidget* modal = QApplication::activeModalWidget();
                             if (now && modal && now->window() != modal) return;
                             QtPeer* peer = PeerOf(now, true);
                             if (!peer || peer->Syncing()) return;
                             vcl::TWinControl* c = peer->Control();
                             if (c->Focused() || !c->CanFocus()) return;
                             RunFromEvent(c, [c] { c->SetFocus(); });
                         });
}

TQtWidgetset::~TQtWidgetset() {
    EndModalLoops(nullptr);
    if (qApp) qApp->removeEventFilter(keyFilter_.get());
    if (qApp) qApp->removeEventFilter(hintFilter_.get());
    if (qApp) qApp->removeEventFilter(wheelFilter_.get());
}

std::unique_ptr<vcl::TWinControlPeer> TQtWidgetset::CreatePeer(vcl::TWinControl* Control) {
    return CreateQtPeer(Control);
}

void TQtWidgetset::WaitModal(vcl::TCustomForm* Form) {
    if (Form->GetModalResult() != vcl::mrNone || vcl::Application->Terminated()) return;
    // What the event that opened the form queued runs now, as the loop's first messages would.
    vcl::ProcessQueuedCalls();
    if (Form->GetModalResult() != vcl::mrNone) return;
    ModalLoop loop;
    loop.Form = Form;
    loop.Base = EventDepth();
    modalLoops_.push_back(&loop);
    loop.Loop.exec(QEventLoop::DialogExec);
    modalLoops_.erase(std::remove(modalLoops_.begin(), modalLoops_.end(), &loop),
                      modalLoops_.end());
}

void TQtWidgetset::ModalResultChanged(vcl::TCustomForm* Form) {
    EndModalLoops(Form);
}

int TQtWidgetset::ModalLoopBase() const {
    return modalLoops_.empty() ? -1 : modalLoops_.back()->Base;
}

void TQtWidgetset::EndModalLoops(const vcl::TCustomForm* Form) {
    for (ModalLoop* l : modalLoops_)
        if (!Form || l->Form == Form) l->Loop.quit();
}

bool TQtWidgetset::ExecuteFileDialog(vcl::TOpenDialog* Dialog, bool Save) {
    FileDialogRequest r;
    r.Save = Save;
    r.Title = Dialog->GetTitle();
    r.InitialDir = Dialog->GetInitialDir();
    r.DefaultExt = Dialog->GetDefaultExt();
    r.Filter = Dialog->GetFilter();
    r.FilterIndex = Dialog->GetFilterIndex();
    r.FileName = Dialog->GetFileName();
    const vcl::TOpenOptions o = Dialog->GetOptions();
    r.OverwritePrompt = o.Contains(vcl::ofOverwritePrompt);
    r.FileMustExist = o.Contains(vcl::ofFileMustExist);
    r.PathMustExist = o.Contains(vcl::ofPathMustExist);
    r.AllowMultiSelect = o.Contains(vcl::ofAllowMultiSelect);
    const FileDialogResult result = RunFileDialog(r, ActiveParent());
    if (!result.Accepted) return false;
    Dialog->SetFileName(result.FileName);
    Dialog->SetFilterIndex(result.FilterIndex);
    Dialog->GetFiles()->Clear();
    for (const vcl::AnsiString& f : result.Files)
        Dialog->GetFiles()->Add(f);
    return true;
}

bool TQtWidgetset::ExecuteFontDialog(vcl::TFontDialog* Dialog) {
    vcl::TFont* font = Dialog->GetFont();
    FontDialogRequest r;
    r.Name = font->GetName();
    r.Size = font->GetSize();
    const vcl::TFontStyles s = font->GetStyle();
    r.Bold = s.Contains(vcl::fsBold);
    r.Italic = s.Contains(vcl::fsItalic);
    r.Underline = s.Contains(vcl::fsUnderline);
    r.StrikeOut = s.Contains(vcl::fsStrikeOut);
    r.Color = static_cast<std::uint32_t>(font->GetColor());
    r.Effects = Dialog->GetOptions().Contains(vcl::fdEffects);
    if (Dialog->GetOptions().Contains(vcl::fdLimitSize)) {
        r.MinFontSize = Dialog->GetMinFontSize();
        r.MaxFontSize = Dialog->GetMaxFontSize();
    }
    const FontDialogResult result = RunFontDialog(r, ActiveParent());
    if (!result.Accepted) return false;
    // One change notification for the whole choice, as an Assign gives.
    vcl::TFont chosen;
    chosen.Assign(font);
    chosen.SetName(result.Name);
    chosen.SetSize(result.Size);
    vcl::TFontStyles style;
    if (result.Bold) style.Include(vcl::fsBold);
    if (result.Italic) style.Include(vcl::fsItalic);
    if (result.Underline) style.Include(vcl::fsUnderline);
    if (result.StrikeOut) style.Include(vcl::fsStrikeOut);
    chosen.SetStyle(style);
    chosen.SetColor(static_cast<vcl::TColor>(result.Color));
    font->Assign(&chosen);
    return true;
}

vcl::TModalResult TQtWidgetset::MessageDlg(const vcl::AnsiString& Msg, vcl::TMsgDlgType DlgType,
                                           vcl::TMsgDlgButtons Buttons, int HelpCtx) {
    // A program that answers messages itself (rendering offscreen, where nobody can click a
    // message box) gets them as modal requests instead of a dialog that would wait forever.
    if (vcl::ModalResponderInstalled())
        return vcl::TWidgetset::MessageDlg(Msg, DlgType, Buttons, HelpCtx);
    unsigned mask = 0;
    for (int b = vcl::mbYes; b <= vcl::mbHelp; ++b)
        if (Buttons.Contains(static_cast<vcl::TMsgDlgBtn>(b))) mask |= 1u << b;
    return RunMessageDialog(Msg, static_cast<int>(DlgType), mask, ActiveParent());
}

vcl::TMenuItem* TQtWidgetset::TrackPopupMenu(vcl::TPopupMenu* Menu, int X, int Y) {
    QMenu menu(ActiveParent());
    std::vector<std::pair<QAction*, vcl::TMenuItem*>> map;
    FillMenu(&menu, Menu->GetItems(),
             [&map](QAction* Action, vcl::TMenuItem* Item) { map.emplace_back(Action, Item); });
    QAction* a = menu.exec(QPoint(X, Y));
    for (auto& m : map)
        if (m.first == a) return m.second;
    return nullptr;
}

int TQtWidgetset::MenuBarHeight() {
    static const int height = [] {
        QMenuBar bar;
        bar.addMenu(QStringLiteral("File"));
        return bar.sizeHint().height();
    }();
    return height;
}

void TQtWidgetset::Beep() {
    SystemBeep();
}

std::shared_ptr<void> TQtWidgetset::StartTimer(int Ms, std::function<void()> Fire) {
    auto* timer = new QTimer();
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [Fire = std::move(Fire)] { RunFromEvent(nullptr, Fire); });
    timer->start(Ms);
    // Dropping the handle may happen inside the timer's own signal, so the timer goes later.
    return std::shared_ptr<void>(timer, [](void* t) {
        auto* timer = static_cast<QTimer*>(t);
        timer->stop();
        timer->deleteLater();
    });
}

bool TQtWidgetset::GetCursorPos(vcl::TPoint& P) {
    // While the model handles a pointer event it knows where the pointer is; at other times
    // the real cursor is asked.
    if (vcl::InInputEvent()) return false;
    const QPoint p = QCursor::pos();
    P = vcl::TPoint{p.x(), p.y()};
    return true;
}

void TQtWidgetset::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TQtWidgetset::Run() {
    while (!vcl::Application->Terminated()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
        vcl::ProcessQueuedCalls();
        if (QCoreApplication::closingDown()) break;
    }
}

vcl::TColor TQtWidgetset::GetSysColor(int Index) {
    return FromQColor(ColorToQColor(0x80000000u | static_cast<std::uint32_t>(Index & 0xFF)));
}

vcl::TSize TQtWidgetset::TextExtent(const vcl::TFont* Font, const vcl::AnsiString& Text) {
    const QFontMetrics fm(ToQFont(Font));
    const QString s = Font ? DisplayText(Font->GetName(), Text) : ToQString(Text);
    return vcl::TSize{fm.horizontalAdvance(s), fm.height()};
}

vcl::TSize TQtWidgetset::ScreenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return vcl::TWidgetset::ScreenSize();
    const QSize s = screen->size();
    return vcl::TSize{s.width(), s.height()};
}

// --- installation and the bridge ----------------------------------------------------------------

TQtWidgetset* InstallQtWidgetset(int& argc, char** argv) {
    if (!QApplication::instance()) {
        // The application object lives as long as the program.
        static QApplication* app = new QApplication(argc, argv);
        (void)app;
    }
    return InstallQtWidgetset();
}

TQtWidgetset* InstallQtWidgetset() {
    if (g_installed) return g_installed;
    if (!QApplication::instance()) {
        // A program that did not pass its arguments still gets its application object.
        static int argc = 1;
        static char name[] = "quimbel";
        static char* argv[] = {name, nullptr};
        return InstallQtWidgetset(argc, argv);
    }
    g_installed = new TQtWidgetset();
    InstallAccessibility();
    g_previous = vcl::InstallWidgetset(g_installed);
    return g_installed;
}

void UninstallQtWidgetset() {
    if (!g_installed) return;
    vcl::InstallWidgetset(g_previous);
    delete g_installed;
    g_installed = nullptr;
    g_previous = nullptr;
}

TQtWidgetset* QtWidgetset() {
    return g_installed && vcl::Widgetset() == g_installed ? g_installed : nullptr;
}

QWidget* WidgetOf(vcl::TWinControl* Control) {
    if (!Control || !QtWidgetset()) return nullptr;
    Control->HandleNeeded();
    auto* peer = static_cast<QtPeer*>(Control->GetPeer());
    return peer ? peer->Widget() : nullptr;
}

void KeepPaintedImage(vcl::TWinControl* Control, bool On) {
    if (!WidgetOf(Control)) return;
    if (auto* peer = dynamic_cast<ContainerPeer*>(Control->GetPeer())) KeepImage(peer->Widget(), On);
}

QImage GrabControl(vcl::TWinControl* Control) {
    QWidget* w = WidgetOf(Control);
    if (!w) return QImage();
    return w->grab().toImage();
}

vcl::TWinControl* ControlOf(const QWidget* Widget) {
    QtPeer* peer = PeerOf(Widget);
    return peer ? peer->Control() : nullptr;
}

} // namespace vcl::qt
