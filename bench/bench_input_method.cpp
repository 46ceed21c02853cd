// The input method against another one, in fresh processes: one Widgets program with a line
// edit and a button, run with QT_IM_MODULE set to each input method. Figures, each the fastest of
// several runs:
//   first show   from the click into the field to the end of the panel's first frame
//   second show  the same after the focus went to the button (the panel hid) and back
//   RSS added    the memory the panel adds: RSS after the first show minus RSS before the click
//   key to text  from a click on the key "a" (found inside the panel by its geometry) to the
//                letter in the field, whatever its case (the other input method capitalises the
//                first letter of a field)
// Quimbel runs twice: with its panel made by the first show ("prepare = false" in its
// configuration file) and with the panel prepared in the first idle moment ("prepare = true",
// the default). For the latter the preparation is reported as figures of their own: the time it
// took (logged by the input method) and the memory it adds before any show (RSS before the click
// minus the same without preparation), which the memory ratio of the prepared panel includes.
// A third program runs without an input method: a window of the panel's place and kind with
// one push button that commits "a", shown by the click into the field (the one-key window). Its
// figures are the least a panel of widgets can reach on the machine, whatever it draws.
// The runs of the input methods take turns, so that a load on the machine falls on all of them
// alike.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_input_method [runs] [other-module]
//                                            (defaults: 7 runs, qtvirtualkeyboard)
//
// Platform: X11 (xcb) wherever DISPLAY is set, as under Xvfb; the figures of the report were
// taken under Xvfb (1280x1024, 24 bits) without a window manager, each panel a window of its own,
// Qt Quick with its software renderer so that both panels paint into a backing store the same
// way. Without DISPLAY the program runs offscreen, where the other input method's panel never
// shows (its hidden window takes the activation from the form, seen with Qt 6.4) and is
// reported as failing. Quimbel's panel is a window the window manager leaves alone, so that
// under one (openbox) its shows wait for no mapping by the manager. A panel's frame ends when
// its paint reaches the window: for a widget panel at the end of the event that painted it (the
// backing store flushed), for a Qt Quick panel when the window swapped its frame.

#include "QuimbelKeyboard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

long rssKiB() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Counts the frames the input panel paints: the end of an event in which a widget inside the
// panel painted, or a frame swapped by a window other than the form (a Qt Quick panel).
class FrameWatch : public QObject {
    Q_OBJECT
public:
    QWidget* form = nullptr;
    int frames = 0;
    bool painted = false; // a widget of the panel painted in the event being delivered
    bool eventFilter(QObject* o, QEvent* e) override {
        // A window is watched from the creation of its surface on, so that a panel created,
        // shown and painted within one pass of the event loop has its first frame counted.
        if (e->type() == QEvent::PlatformSurface || e->type() == QEvent::Expose)
            if (auto* w = qobject_cast<QWindow*>(o)) watch(w);
        if (e->type() == QEvent::Paint)
            for (auto* w = qobject_cast<QWidget*>(o); w; w = w->parentWidget())
                if (w->objectName() == QLatin1String("QuimbelInputPanel") ||
                    w->objectName() == QLatin1String("EmptyPanel")) {
                    painted = true;
                    break;
                }
        return false;
    }
    void watch(QWindow* w) {
        if (w == form->windowHandle() || w->property("benchWatched").toBool()) return;
        w->setProperty("benchWatched", true);
        if (w->metaObject()->indexOfSignal("frameSwapped()") >= 0)
            connect(w, SIGNAL(frameSwapped()), this, SLOT(frame()), Qt::DirectConnection);
    }
    void watchWindows() {
        for (QWindow* w : QGuiApplication::allWindows())
            watch(w);
    }
public slots:
    void frame() { ++frames; }
};

FrameWatch* frameWatch = nullptr;

// Ends a widget panel's frame when the outermost event in which it painted returns: the paint
// and the flush of the backing store to the window both happen inside it.
class BenchApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* o, QEvent* e) override {
        ++depth_;
        const bool result = QApplication::notify(o, e);
        if (--depth_ == 0 && frameWatch && frameWatch->painted) {
            frameWatch->painted = false;
            ++frameWatch->frames;
        }
        return result;
    }

private:
    int depth_ = 0;
};

void click(QWidget* w, QPoint at) {
    QWindow* window = w->window()->windowHandle();
    const QPoint p = w->mapTo(w->window(), at);
    QTest::mousePress(window, Qt::LeftButton, {}, p);
    QTest::mouseRelease(window, Qt::LeftButton, {}, p);
}

// Runs the event loop until Done, the loop waiting for events as a program's does (so that the
// input methods see it idle), woken every millisecond to ask Done.
bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(1);
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace

namespace {

// The key that types "a": Quimbel's keyboard by its keyRect, a Qt Quick key by its text.
bool clickKeyA() {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* w = qobject_cast<QuimbelKeyboard*>(widget)) {
            const QRect r = w->keyRect("a");
            if (r.isEmpty()) return false;
            click(w, r.center());
            return true;
        }
    for (QWidget* widget : QApplication::allWidgets())
        if (widget->objectName() == QLatin1String("EmptyPanelKey")) {
            click(widget, widget->rect().center());
            return true;
        }
    for (QWindow* window : QGuiApplication::allWindows())
        for (QObject* o : window->findChildren<QObject*>()) {
            if (o->property("text").toString() != QLatin1String("a") ||
                !o->metaObject()->className() || !QByteArray(o->metaObject()->className()).contains("Key") ||
                !o->property("visible").toBool())
                continue;
            // The item's position in the window: its own plus its parents'.
            QPointF at(o->property("width").toReal() / 2, o->property("height").toReal() / 2);
            for (QObject* item = o; item; item = item->property("parent").value<QObject*>())
                at += QPointF(item->property("x").toReal(), item->property("y").toReal());
            QTest::mousePress(window, Qt::LeftButton, {}, at.toPoint());
            QTest::mouseRelease(window, Qt::LeftButton, {}, at.toPoint());
            return true;
        }
    return false;
}

// The least any panel of widgets costs: a window of the panel's place and kind (frameless,
// never taking the focus, left alone by a window manager) with one push button that commits
// "a" to the field, shown by a click into the field and hidden when the focus leaves it,
// without an input method.
class EmptyPanel : public QWidget {
public:
    explicit EmptyPanel(QWidget* field)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint |
                               Qt::WindowDoesNotAcceptFocus) {
        setObjectName(QStringLiteral("EmptyPanel"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_X11DoNotAcceptFocus);
        setAutoFillBackground(true);
        auto* key = new QPushButton(QStringLiteral("a"), this);
        key->setObjectName(QStringLiteral("EmptyPanelKey"));
        key->setFocusPolicy(Qt::NoFocus);
        key->setGeometry(8, 8, 64, 64);
        connect(key, &QPushButton::clicked, field, [field] {
            QInputMethodEvent commit;
            commit.setCommitString(QStringLiteral("a"));
            QCoreApplication::sendEvent(field, &commit);
        });
        const QRect screen = field->screen()->geometry();
        setGeometry(screen.x(), screen.bottom() - screen.height() / 3 + 1, screen.width(),
                    screen.height() / 3);
        field->installEventFilter(this);
        connect(qApp, &QApplication::focusChanged, this, [this, field](QWidget*, QWidget* now) {
            if (now != field) hide();
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease) show();
        return false;
    }
};

// One run: prints "first second rss keyToText rssBefore" (ms, ms, KiB, ms, KiB) or fails.
int child() {
    QWidget form;
    auto* column = new QVBoxLayout(&form);
    auto* button = new QPushButton("OK");
    auto* edit = new QLineEdit;
    column->addWidget(button);
    column->addWidget(edit);
    column->addStretch();
    std::unique_ptr<EmptyPanel> empty;
    if (qEnvironmentVariableIsSet("BENCH_EMPTY_PANEL")) empty = std::make_unique<EmptyPanel>(edit);
    form.resize(800, 600);
    form.show();
    QApplication::setActiveWindow(&form);
    button->setFocus();
    FrameWatch watch;
    watch.form = &form;
    frameWatch = &watch;
    qApp->installEventFilter(&watch);
    waitFor([] { return false; }, 200);
    const long rssBefore = rssKiB();

    auto show = [&]() -> double {
        // The click goes into the field that has the focus already: Qt's widgets ask an input
        // method for its panel on such a click only, so both input methods show on it (a click
        // that moves the focus into the field shows Quimbel's panel alone).
        // The offscreen platform activates every window shown, a panel's own window too; the
        // form gets the activation back first.
        form.windowHandle()->requestActivate();
        waitFor([&] { return QGuiApplication::focusWindow() == form.windowHandle(); }, 1000);
        edit->setFocus();
        waitFor([] { return false; }, 100);
        const int before = watch.frames;
        QElapsedTimer t;
        t.start();
        click(edit, edit->rect().center());
        if (!waitFor([&] {
                watch.watchWindows();
                return watch.frames > before;
            }))
            return -1;
        return t.nsecsElapsed() / 1e6;
    };
    const double first = show();
    if (first < 0) return 2;
    waitFor([] { return false; }, 300);
    const long rss = rssKiB() - rssBefore;
    click(button, button->rect().center());
    waitFor([] { return !QGuiApplication::inputMethod()->isVisible(); }, 2000);
    waitFor([] { return false; }, 200);
    const double second = show();
    waitFor([] { return false; }, 300);
    QElapsedTimer t;
    t.start();
    // A key that cannot be found or clicked leaves the last figure out (-1).
    double key = -1;
    if (clickKeyA() && waitFor([&] { return !edit->text().isEmpty(); }) &&
        edit->text().compare(QLatin1String("a"), Qt::CaseInsensitive) == 0)
        key = t.nsecsElapsed() / 1e6;
    std::printf("%.2f %.2f %ld %.3f %ld\n", first, second, rss, key, rssBefore);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--child") {
        BenchApplication app(argc, argv);
        // The figures are out; what the input methods do when the program ends is not measured
        // (the other one has been seen to abort there).
        const int status = child();
        std::fflush(stdout);
        std::_Exit(status);
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const QString other = argc > 2 ? argv[2] : QStringLiteral("qtvirtualkeyboard");
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    auto config = [&](const char* name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly)) f.write(text);
        return f.fileName();
    };
    struct Input {
        QString title, module, config;
        double first = 1e9, second = 1e9, key = 1e9, prepared = 1e9;
        long rss = 1L << 40, rssBefore = 1L << 40;
        bool ok = false;
    };
    Input inputs[] = {
        {"quimbel, made on show", "quimbel", config("cold.conf", "[keyboard]\nprepare = false\n")},
        {"quimbel, prepared", "quimbel", config("warm.conf", "[keyboard]\nprepare = true\n")},
        {other, other, {}},
        {"one-key window (floor)", "none", {}},
    };
    const QRegularExpression preparedLine("panel prepared in ([0-9.]+) ms");
    auto measure = [&](Input& in) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_IM_MODULE", in.module);
        if (in.module == QLatin1String("none")) env.insert("BENCH_EMPTY_PANEL", "1");
        env.insert("QT_QPA_PLATFORM", env.contains("DISPLAY") ? "xcb" : "offscreen");
        env.insert("QT_QUICK_BACKEND", "software");
        // The build's plugin folder, for a run before installation.
        env.insert("QT_PLUGIN_PATH", QCoreApplication::applicationDirPath() + "/../plugins");
        if (!in.config.isEmpty()) {
            env.insert("QUIMBEL_CONFIG", in.config);
            env.insert("QUIMBEL_LAYOUTS", "us");
            env.insert("QT_LOGGING_RULES", "quimbel.inputmethod.debug=true");
        }
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(), {"--child"});
        p.waitForFinished(30000);
        const QList<QByteArray> f = p.readAllStandardOutput().trimmed().split(' ');
        if (p.exitCode() != 0 || f.size() != 5) {
            std::fprintf(stderr, "%s: run failed (status %d)\n", qPrintable(in.title),
                         p.exitCode());
            return;
        }
        in.ok = true;
        in.first = std::min(in.first, f[0].toDouble());
        in.second = std::min(in.second, f[1].toDouble());
        in.rss = std::min(in.rss, f[2].toLong());
        if (f[3].toDouble() >= 0) in.key = std::min(in.key, f[3].toDouble());
        in.rssBefore = std::min(in.rssBefore, f[4].toLong());
        const auto m = preparedLine.match(QString::fromLocal8Bit(p.readAllStandardError()));
        if (m.hasMatch()) in.prepared = std::min(in.prepared, m.captured(1).toDouble());
    };
    for (int i = 0; i < runs; ++i)
        for (Input& in : inputs)
            measure(in);

    std::printf("%-24s %12s %12s %12s %12s\n", "input method", "first show", "second show",
                "RSS added", "key to text");
    // A key to text never measured (the key was not found or typed nothing) shows as n/a.
    auto keyText = [](double ms) {
        return ms < 1e9 ? QString::asprintf("%9.3f ms", ms) : QStringLiteral("%1").arg("n/a", 12);
    };
    for (const Input& in : inputs)
        if (in.ok)
            std::printf("%-24s %9.2f ms %9.2f ms %8ld KiB %s\n", qPrintable(in.title), in.first,
                        in.second, in.rss, qPrintable(keyText(in.key)));
        else
            std::printf("%-24s not available\n", qPrintable(in.title));
    const Input &cold = inputs[0], &warm = inputs[1], &o = inputs[2], &empty = inputs[3];
    // The memory the preparation takes before any show counts with the prepared panel's.
    const long preparedRss = warm.ok && cold.ok ? warm.rssBefore - cold.rssBefore : 0;
    if (warm.ok && cold.ok)
        std::printf("%-24s %9.2f ms before any show, %ld KiB RSS added by it\n",
                    "quimbel preparation", warm.prepared < 1e9 ? warm.prepared : -1.0, preparedRss);
    for (const Input* q : {&cold, &warm})
        if (q->ok && o.ok)
            std::printf("%-24s %12.2f %12.2f %12.2f %12s   (targets 0.25 0.5 0.5 0.5)\n",
                        qPrintable("ratio, " + q->title.mid(9)), q->first / o.first,
                        q->second / o.second,
                        double(q->rss + (q == &warm ? preparedRss : 0)) / double(o.rss),
                        o.key < 1e9 ? qPrintable(QString::number(q->key / o.key, 'f', 2)) : "n/a");
    if (empty.ok && o.ok)
        std::printf("%-24s %12s %12.2f %12s %12.2f   (the least a panel of widgets reaches)\n",
                    "ratio, one-key window", "", empty.second / o.second, "",
                    empty.key / o.key);
    return 0;
}

#include "bench_input_method.moc"
