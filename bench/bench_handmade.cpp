// Quimbel's keyboard against the keyboard a Qt developer writes by hand, in one process and one
// window shape: an edit box over the keyboard, the built-in us layout. The hand-made keyboard is
// one QPushButton per key at exactly the rectangles Quimbel gives its buttons, each inserting
// its character into the QLineEdit; the bare window has the edit box over an empty widget.
//
// Measured (medians of processor time, offscreen): the keyboard's share of start-up (building and
// showing the window up to its first painted frame, less the bare window's time), a click and
// repaint (press, release, events processed), a resize between 960 x 400 and 1280 x 500 with a
// synchronous repaint, and the heap the keyboard holds. Prints each figure and the ratio
// Quimbel / hand-made. A click includes the edit box inserting the character and repainting
// itself; that part is measured alone too (on the bare window), to show the keyboard's own part.
//
// Start-up is measured a second way, as a program meets it: fresh processes, each from main to
// the first painted frame of its window (processor time), the fastest of 9 for the bare window,
// the hand-made and Quimbel's keyboard; the shares are each keyboard's time less the bare
// window's. The warm figures above leave out what a process pays once (fonts, styles). A fourth
// kind, the hand-made keyboard with its captions in the face the layout names (the keyboard's
// widget's font), shows what drawing in a face other than the application's costs by itself.
// With --first-frames only this comparison runs. One such process runs alone as
//   bench_handmade --first-frame bare|quimbel|hand-made|hand-made-face TABLE
// where TABLE is the hand-made keyboard's data, written by bench_handmade --write-table TABLE; under
// valgrind --tool=callgrind the difference of two kinds' counts is a keyboard's share.
//
// For instruction counts:
//   valgrind --tool=callgrind --toggle-collect='*measureClicks<*QuimbelBoard*'
// (or HandMadeBoard, BareBoard) counts one side's clicks alone.
//
// With --screenshots DIR it measures nothing: it saves what the screen shows of Quimbel's window
// (the pixels painted so far, partial repaints included) at each step of the measured scenes, so
// that pictures taken before and after a change to the widgetset can be compared byte for byte.

#include "runtime/Quimbel.h"

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QScreen>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <time.h>
#include <utility>
#include <vector>

namespace {

constexpr QSize kSmall(960, 400);
constexpr QSize kLarge(1280, 500);

// The process's own processor time: offscreen everything runs in it, and on a busy machine the
// wall clock would measure the other processes as well.
struct Clock {
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

size_t heapInUse() {
    return mallinfo2().uordblks;
}

// What each key shows and types, and where its button lies at each keyboard size: the data a
// hand-written program carries as literals.
struct KeyTable {
    std::vector<QString> captions;
    std::vector<QString> values;
    std::map<std::pair<int, int>, std::vector<QRect>> rects; // by keyboard widget size
    QFont font; // the face and size the keyboard's widget draws in
};

// The window both programs show: an edit box over the keyboard (or over an empty widget).
struct Window {
    virtual ~Window() = default;
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit* edit = new QLineEdit(window.get());
    QVBoxLayout* layout = new QVBoxLayout(window.get());
    Window() {
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->addWidget(edit);
        window->resize(kSmall);
    }
};

// Shows the window and processes events until both the edit box and the keyboard widget have
// been painted once.
class FirstFrame : public QObject {
public:
    FirstFrame(QWidget* a, QWidget* b) : a_(a), b_(b) { qApp->installEventFilter(this); }
    ~FirstFrame() override { qApp->removeEventFilter(this); }
    void wait() {
        for (int i = 0; i < 1000 && !(paintedA_ && paintedB_); ++i)
            QApplication::processEvents();
        if (!(paintedA_ && paintedB_)) {
            std::fprintf(stderr, "bench_handmade: the window was never painted\n");
            std::exit(1);
        }
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            if (o == a_) paintedA_ = true;
            if (o == b_) paintedB_ = true;
        }
        return false;
    }

private:
    QObject* a_;
    QObject* b_;
    bool paintedA_ = false;
    bool paintedB_ = false;
};

struct QuimbelBoard : Window {
    quimbel::TKeyboard* keyboard = new quimbel::TKeyboard(nullptr);
    vcl::qt::TQtWidgetControl* linked = new vcl::qt::TQtWidgetControl(nullptr, edit);
    QuimbelBoard() {
        auto keys = std::make_unique<quimbel::TKeyCollection>();
        quimbel::LoadLayoutResource(keys.get(), "us");
        keyboard->SetKeys(keys.release());
        keyboard->SetLinkedControl(linked);
        layout->addWidget(surface(), 1);
    }
    ~QuimbelBoard() {
        delete keyboard;
        delete linked;
    }
    QWidget* surface() const { return vcl::qt::WidgetOf(keyboard); }
    // The button of a key in the keyboard widget's coordinates.
    QRect rectOf(int index) const {
        const vcl::TControl* b = keyboard->GetKeys()->GetItem(index)->Control;
        const vcl::TRect frame = keyboard->NonClientInsets();
        return QRect(b->GetLeft() + frame.Left, b->GetTop() + frame.Top, b->GetWidth(),
                     b->GetHeight());
    }
};

class HandMadeKeyboard : public QWidget {
public:
    HandMadeKeyboard(const KeyTable& table, QLineEdit* edit) : table_(table) {
        for (size_t i = 0; i < table.captions.size(); ++i) {
            auto* b = new QPushButton(table.captions[i], this);
            b->setFocusPolicy(Qt::NoFocus);
            const QString value = table.values[i];
            if (!value.isEmpty())
                QObject::connect(b, &QPushButton::clicked, edit,
                                 [edit, value] { edit->insert(value); });
            buttons_.push_back(b);
        }
    }
    QPushButton* button(int i) const { return buttons_[static_cast<size_t>(i)]; }

protected:
    void resizeEvent(QResizeEvent*) override {
        auto it = table_.rects.find({width(), height()});
        if (it == table_.rects.end()) return;
        for (size_t i = 0; i < buttons_.size(); ++i)
            buttons_[i]->setGeometry(it->second[i]);
    }

private:
    const KeyTable& table_;
    std::vector<QPushButton*> buttons_;
};

struct HandMadeBoard : Window {
    HandMadeKeyboard* keyboard;
    explicit HandMadeBoard(const KeyTable& table) {
        keyboard = new HandMadeKeyboard(table, edit);
        layout->addWidget(keyboard, 1);
    }
};

struct BareBoard : Window {
    QWidget* empty = new QWidget();
    BareBoard() { layout->addWidget(empty, 1); }
};

KeyTable makeTable() {
    KeyTable t;
    QuimbelBoard q;
    q.window->show();
    FirstFrame(q.edit, q.surface()).wait();
    const quimbel::TKeyCollection* keys = q.keyboard->GetKeys();
    for (int i = 0; i < keys->GetCount(); ++i) {
        const quimbel::TKey* key = keys->GetItem(i);
        t.captions.push_back(QString::fromLatin1(key->GetKeyCaption(quimbel::klNormal).c_str()));
        t.values.push_back(key->KeyType == quimbel::ktNormal
                               ? QString::fromLatin1(key->KeyValue[quimbel::klNormal].c_str())
                               : QString());
    }
    t.font = q.surface()->font();
    for (QSize size : {kSmall, kLarge}) {
        q.window->resize(size);
        QApplication::processEvents();
        std::vector<QRect>& rects = t.rects[{q.surface()->width(), q.surface()->height()}];
        for (int i = 0; i < keys->GetCount(); ++i)
            rects.push_back(q.rectOf(i));
    }
    return t;
}

// A click as a user makes it: press and release in the middle of Rect of Target.
void click(QWidget* target, const QRect& rect) {
    const QPointF pos = QRectF(rect).center();
    const QPointF global = target->mapToGlobal(pos);
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::processEvents();
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
}

// The index of the key that types 'g' (a letter key in the middle of the keyboard).
int letterKey(const KeyTable& t) {
    for (size_t i = 0; i < t.values.size(); ++i)
        if (t.values[i] == QLatin1String("g")) return static_cast<int>(i);
    return 0;
}

struct Figures {
    double startup = 0, click = 0, resize = 0;
    double heap = 0;
};

// The median time of Count clicks on a shown Board; never inlined, so that a profiler can count
// the clicks alone.
template <class Board, class Setup>
[[gnu::noinline]] double measureClicks(Board& board, int count, Setup& onBoard) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        if (i % 50 == 0) board.edit->clear();
        const auto t0 = Clock::now();
        onBoard.click(board);
        times.push_back(Clock::now() - t0);
    }
    return median(times);
}

template <class Board, class Setup>
Figures measure(int startups, int clicks, int resizes, Setup&& onBoard) {
    Figures f;
    std::vector<double> starts, heaps;
    for (int i = 0; i < startups; ++i) {
        const size_t before = heapInUse();
        const auto t0 = Clock::now();
        auto board = onBoard.make();
        board->window->show();
        FirstFrame(board->edit, onBoard.surface(*board)).wait();
        starts.push_back(Clock::now() - t0);
        heaps.push_back(static_cast<double>(heapInUse() - before));
    }
    f.startup = median(starts);
    f.heap = median(heaps);

    auto board = onBoard.make();
    board->window->show();
    FirstFrame(board->edit, onBoard.surface(*board)).wait();
    f.click = measureClicks(*board, clicks, onBoard);
    std::vector<double> times;
    for (int i = 0; i < resizes; ++i) {
        const auto t0 = Clock::now();
        board->window->resize(i % 2 ? kSmall : kLarge);
        board->window->repaint();
        QApplication::processEvents();
        times.push_back(Clock::now() - t0);
    }
    f.resize = median(times);
    return f;
}

// The offscreen platform's remarks on every window are noise here; critical messages still show.
void quietQtMessages(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", Message.toLocal8Bit().constData());
}

// What the screen shows of the window: the pixels painted so far, not a fresh rendering.
bool saveScreen(QWidget* window, const QString& path) {
    QApplication::processEvents();
    return window->screen()->grabWindow(window->winId()).save(path, "PNG");
}

int saveScreenshots(const QString& dir, int key) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "bench_handmade: cannot create %s\n", qPrintable(dir));
        return 1;
    }
    QuimbelBoard q;
    QWidget* window = q.window.get();
    window->show();
    FirstFrame(q.edit, q.surface()).wait();
    bool ok = true;
    auto shot = [&](const char* name) { ok = saveScreen(window, dir + "/" + name + ".png") && ok; };
    auto press = [&](int index, QEvent::Type type) {
        const QPointF pos = QRectF(q.rectOf(index)).center();
        QMouseEvent e(type, pos, q.surface()->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(q.surface(), &e);
    };
    auto indexOf = [&](quimbel::TKeyType type) {
        const quimbel::TKeyCollection* keys = q.keyboard->GetKeys();
        for (int i = 0; i < keys->GetCount(); ++i)
            if (keys->GetItem(i)->KeyType == type) return i;
        return key;
    };
    shot("01-first-frame");
    press(key, QEvent::MouseButtonPress);
    shot("02-key-pressed");
    press(key, QEvent::MouseButtonRelease);
    shot("03-key-released");
    window->resize(kLarge);
    shot("04-large");
    window->resize(kSmall);
    shot("05-small-again");
    auto clickKey = [&](int index) {
        press(index, QEvent::MouseButtonPress);
        press(index, QEvent::MouseButtonRelease);
    };
    clickKey(indexOf(quimbel::ktShift));
    shot("06-shift");
    clickKey(key);
    shot("07-shifted-key-typed");
    clickKey(indexOf(quimbel::ktCapsLock));
    shot("08-caps");
    press(key, QEvent::MouseButtonPress);
    window->resize(kLarge);
    shot("09-large-pressed");
    press(key, QEvent::MouseButtonRelease);
    shot("10-large-released");
    if (!ok)
        std::fprintf(stderr, "bench_handmade: cannot save the pictures in %s\n", qPrintable(dir));
    return ok ? 0 : 1;
}


// The key table for a process of its own, as the hand-made program would have it compiled in.
QDataStream& operator<<(QDataStream& out, const KeyTable& t) {
    out << qint32(t.captions.size());
    for (size_t i = 0; i < t.captions.size(); ++i)
        out << t.captions[i] << t.values[i];
    out << qint32(t.rects.size());
    for (const auto& [size, rects] : t.rects) {
        out << qint32(size.first) << qint32(size.second) << qint32(rects.size());
        for (const QRect& r : rects)
            out << r;
    }
    out << t.font;
    return out;
}

QDataStream& operator>>(QDataStream& in, KeyTable& t) {
    qint32 keys = 0, sizes = 0;
    in >> keys;
    t.captions.resize(static_cast<size_t>(keys));
    t.values.resize(static_cast<size_t>(keys));
    for (qint32 i = 0; i < keys; ++i)
        in >> t.captions[static_cast<size_t>(i)] >> t.values[static_cast<size_t>(i)];
    in >> sizes;
    for (qint32 i = 0; i < sizes; ++i) {
        qint32 w = 0, h = 0, count = 0;
        in >> w >> h >> count;
        std::vector<QRect>& rects = t.rects[{w, h}];
        rects.resize(static_cast<size_t>(count));
        for (QRect& r : rects)
            in >> r;
    }
    in >> t.font;
    return in;
}

// One fresh process: main to the first painted frame of one window kind; prints microseconds.
int firstFrame(int argc, char** argv) {
    const double t0 = Clock::now();
    const std::string kind = argv[2];
    QApplication app(argc, argv);
    std::unique_ptr<Window> board;
    QWidget* surface = nullptr;
    KeyTable table;
    if (kind == "quimbel") {
        vcl::qt::InstallQtWidgetset();
        auto q = std::make_unique<QuimbelBoard>();
        surface = q->surface();
        board = std::move(q);
    } else if ((kind == "hand-made" || kind == "hand-made-face") && argc > 3) {
        QFile file(QString::fromLocal8Bit(argv[3]));
        if (!file.open(QIODevice::ReadOnly)) return 1;
        QDataStream in(&file);
        in >> table;
        auto h = std::make_unique<HandMadeBoard>(table);
        // The same buttons with their captions in the face the layout names, as Quimbel draws
        // them: what a second face costs a keyboard of push buttons.
        if (kind == "hand-made-face") h->keyboard->setFont(table.font);
        surface = h->keyboard;
        board = std::move(h);
    } else {
        auto b = std::make_unique<BareBoard>();
        surface = b->empty;
        board = std::move(b);
    }
    board->window->show();
    FirstFrame(board->edit, surface).wait();
    std::printf("%.1f\n", Clock::now() - t0);
    std::fflush(stdout);
    // The process ends here: tearing down is no part of a first frame.
    std::_Exit(0);
}

// The fastest first frame of Runs fresh processes of each kind, taken in turns so that a busy
// moment of the machine hits every kind alike.
void compareFreshStartups(const KeyTable& table, int runs) {
    QTemporaryFile file;
    if (!file.open()) return;
    {
        QDataStream out(&file);
        out << table;
    }
    file.flush();
    const char* kinds[] = {"bare", "hand-made", "quimbel", "hand-made-face"};
    std::map<std::string, double> fastest;
    for (int i = 0; i < runs; ++i)
        for (const char* kind : kinds) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--first-frame"), QString::fromLatin1(kind),
                         file.fileName()});
            if (!child.waitForFinished(60000) || child.exitCode() != 0) {
                std::fprintf(stderr, "bench_handmade: a %s process failed\n", kind);
                return;
            }
            const double us = child.readAllStandardOutput().trimmed().toDouble();
            auto it = fastest.find(kind);
            if (it == fastest.end() || us < it->second) fastest[kind] = us;
        }
    const double bare = fastest["bare"];
    const double q = fastest["quimbel"] - bare, h = fastest["hand-made"] - bare;
    std::printf("fresh processes, main to first frame, fastest of %d\n", runs);
    std::printf("%-34s %12s %12s %8s %8s\n", "", "Quimbel", "hand-made", "ratio", "target");
    std::printf("%-34s %12.1f\n", "bare window (us)", bare);
    std::printf("%-34s %12.1f %12.1f\n", "window with keyboard (us)", fastest["quimbel"],
                fastest["hand-made"]);
    std::printf("%-34s %12.1f %12.1f %8.2f %8s\n", "start-up share (us)", q, h, q / h, "<= 0.8");
    const double f = fastest["hand-made-face"] - bare;
    std::printf("%-34s %12.1f %12.1f %8.2f\n", "share, hand-made in layout's face", q, f,
                q / f);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtMessages);
    if (argc > 2 && std::string(argv[1]) == "--first-frame") return firstFrame(argc, argv);
    const bool firstFrames = argc > 1 && std::string(argv[1]) == "--first-frames";
    const bool screenshots = argc > 2 && std::string(argv[1]) == "--screenshots";
    const bool writeTable = argc > 2 && std::string(argv[1]) == "--write-table";
    const bool measuring = !screenshots && !firstFrames && !writeTable;
    int rounds = argc > 1 && measuring ? std::atoi(argv[1]) : 1;
    if (rounds < 1) rounds = 1;
    QApplication app(argc, argv);
    vcl::qt::InstallQtWidgetset();

    const KeyTable table = makeTable();
    const int key = letterKey(table);
    if (screenshots) {
        const int status = saveScreenshots(QString::fromLocal8Bit(argv[2]), key);
        vcl::qt::UninstallQtWidgetset();
        return status;
    }
    if (writeTable) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::WriteOnly)) return 1;
        QDataStream out(&file);
        out << table;
        vcl::qt::UninstallQtWidgetset();
        return 0;
    }
    if (firstFrames) {
        compareFreshStartups(table, 9);
        vcl::qt::UninstallQtWidgetset();
        return 0;
    }

    struct QuimbelSide {
        const KeyTable& t;
        int key;
        std::unique_ptr<QuimbelBoard> make() { return std::make_unique<QuimbelBoard>(); }
        QWidget* surface(QuimbelBoard& b) { return b.surface(); }
        void click(QuimbelBoard& b) { ::click(b.surface(), b.rectOf(key)); }
    } quimbelSide{table, key};
    struct HandMadeSide {
        const KeyTable& t;
        int key;
        std::unique_ptr<HandMadeBoard> make() { return std::make_unique<HandMadeBoard>(t); }
        QWidget* surface(HandMadeBoard& b) { return b.keyboard; }
        void click(HandMadeBoard& b) {
            QPushButton* button = b.keyboard->button(key);
            ::click(button, button->rect());
        }
    } handSide{table, key};
    // Its click is what any keyboard's click leaves to the edit box: the character inserted and
    // the edit box repainted.
    struct BareSide {
        QString value;
        std::unique_ptr<BareBoard> make() { return std::make_unique<BareBoard>(); }
        QWidget* surface(BareBoard& b) { return b.empty; }
        void click(BareBoard& b) {
            b.edit->insert(value);
            QApplication::processEvents();
        }
    } bareSide{table.values[static_cast<size_t>(key)]};

    // Warm-up: fonts, styles and caches Qt fills once per process.
    measure<BareBoard>(3, 10, 0, bareSide);
    measure<HandMadeBoard>(3, 10, 4, handSide);
    measure<QuimbelBoard>(3, 10, 4, quimbelSide);

    std::vector<Figures> q, h, b;
    for (int r = 0; r < rounds; ++r) {
        b.push_back(measure<BareBoard>(40, 400, 0, bareSide));
        h.push_back(measure<HandMadeBoard>(40, 400, 100, handSide));
        q.push_back(measure<QuimbelBoard>(40, 400, 100, quimbelSide));
    }
    auto med = [](const std::vector<Figures>& v, double Figures::*m) {
        std::vector<double> x;
        for (const Figures& f : v)
            x.push_back(f.*m);
        return median(x);
    };
    const double bareStart = med(b, &Figures::startup);
    const double qStart = med(q, &Figures::startup) - bareStart;
    const double hStart = med(h, &Figures::startup) - bareStart;
    const double qHeap = med(q, &Figures::heap) - med(b, &Figures::heap);
    const double hHeap = med(h, &Figures::heap) - med(b, &Figures::heap);
    std::printf("%zu keys, offscreen, medians of %d round(s)\n", table.captions.size(), rounds);
    std::printf("%-34s %12s %12s %8s %8s\n", "", "Quimbel", "hand-made", "ratio", "target");
    std::printf("%-34s %12.1f\n", "bare window to first frame (us)", bareStart);
    std::printf("%-34s %12.1f %12.1f %8.2f %8s\n", "start-up share (us)", qStart, hStart,
                qStart / hStart, "<= 0.8");
    std::printf("%-34s %12.1f %12.1f %8.2f %8s\n", "click and repaint (us)",
                med(q, &Figures::click), med(h, &Figures::click),
                med(q, &Figures::click) / med(h, &Figures::click), "<= 0.9");
    // Both keyboards type into the same edit box, which inserts and repaints itself at the same
    // cost whichever keyboard typed: no keyboard's click can cost less than that, and the rest is
    // the keyboard's own work.
    const double edit = med(b, &Figures::click);
    std::printf("%-34s %12.1f %12s %8.2f %8s\n", "  the edit box alone (us)", edit, "",
                edit / med(h, &Figures::click), "(floor)");
    std::printf("%-34s %12.1f %12.1f %8.2f\n", "  the keyboard's own part (us)",
                med(q, &Figures::click) - edit, med(h, &Figures::click) - edit,
                (med(q, &Figures::click) - edit) / (med(h, &Figures::click) - edit));
    std::printf("%-34s %12.1f %12.1f %8.2f %8s\n", "resize and repaint (us)",
                med(q, &Figures::resize), med(h, &Figures::resize),
                med(q, &Figures::resize) / med(h, &Figures::resize), "<= 0.8");
    std::printf("%-34s %12.0f %12.0f %8.2f %8s\n", "heap held by the keyboard (bytes)", qHeap,
                hHeap, qHeap / hHeap, "<= 1");
    compareFreshStartups(table, 9);
    vcl::qt::UninstallQtWidgetset();
    return 0;
}
