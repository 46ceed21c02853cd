// Typing by touch against typing by mouse on QuimbelKeyboard (offscreen, the built-in us layout,
// a QLineEdit as the target): the time from the release of a finger to the character being in
// the line edit, beside the same for the release of the mouse button. The press goes before each
// timed release, untimed. The target is a touch release within 10 % of a mouse release.
//
// Touch/MouseReleaseDirect compare like with like: each release is one event (a QTouchEvent
// TouchEnd, a QMouseEvent MouseButtonRelease) sent with QCoreApplication::sendEvent to the
// keyboard's widget, so both pass QApplication::notify and then the keyboard's own code up to
// the line edit, and nothing else. Touch/MouseReleaseQTest go through QTest's window system
// input instead, as a test would: its touch sequence sleeps a millisecond before it delivers
// and resolves the touch points against the window, work that lies outside the keyboard.

#include "qtkeyboard/QuimbelKeyboard.h"

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTest>
#include <QTouchEvent>
#include <QVBoxLayout>
#include <QtGui/private/qeventpoint_p.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

struct Window {
    Window() {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(line);
        column->addWidget(keyboard, 1);
        window.resize(960, 400);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) std::abort();
        keyboard->setTarget(line);
        keyboard->setKeyPreview(false); // the same painting work for both
        key = keyboard->keyRect("a").center();
        surface = keyboard->childAt(key);
        surfaceKey = surface->mapFrom(keyboard, key);
    }
    // Keeps the line edit short, so that its own work stays the same.
    void clearNow(benchmark::State& state) {
        if (line->text().size() < 64) return;
        state.PauseTiming();
        line->clear();
        state.ResumeTiming();
    }
    QWidget window;
    QLineEdit* line = new QLineEdit;
    QuimbelKeyboard* keyboard = new QuimbelKeyboard;
    QPoint key, surfaceKey;
    QWidget* surface = nullptr;
};

std::unique_ptr<Window> g_window;

Window& window() {
    if (!g_window) g_window = std::make_unique<Window>();
    return *g_window;
}

// A touch point at At in Widget, as Qt's delivery hands it to the widget (an event sent
// directly does not have its points mapped).
QEventPoint point(QEventPoint::State state, QWidget* widget, QPoint at) {
    return QMutableEventPoint::withTimeStamp(0, 0, state, at, at, widget->mapToGlobal(at));
}

void TouchReleaseDirect(benchmark::State& state) {
    Window& w = window();
    QPointingDevice* device = QTest::createTouchDevice();
    for (auto _ : state) {
        state.PauseTiming();
        QTouchEvent press(QEvent::TouchBegin, device, Qt::NoModifier,
                          {point(QEventPoint::Pressed, w.surface, w.surfaceKey)});
        QCoreApplication::sendEvent(w.surface, &press);
        const auto before = w.line->text().size();
        QTouchEvent release(QEvent::TouchEnd, device, Qt::NoModifier,
                            {point(QEventPoint::Released, w.surface, w.surfaceKey)});
        state.ResumeTiming();
        QCoreApplication::sendEvent(w.surface, &release);
        if (w.line->text().size() != before + 1) state.SkipWithError("the touch typed nothing");
        w.clearNow(state);
    }
}
BENCHMARK(TouchReleaseDirect);

void MouseReleaseDirect(benchmark::State& state) {
    Window& w = window();
    const QPointF at(w.surfaceKey), global(w.surface->mapToGlobal(w.surfaceKey));
    for (auto _ : state) {
        state.PauseTiming();
        QMouseEvent press(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.surface, &press);
        const auto before = w.line->text().size();
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        state.ResumeTiming();
        QCoreApplication::sendEvent(w.surface, &release);
        if (w.line->text().size() != before + 1) state.SkipWithError("the click typed nothing");
        w.clearNow(state);
    }
}
BENCHMARK(MouseReleaseDirect);

void TouchReleaseQTest(benchmark::State& state) {
    Window& w = window();
    QPointingDevice* device = QTest::createTouchDevice();
    for (auto _ : state) {
        state.PauseTiming();
        QTest::touchEvent(w.keyboard, device).press(0, w.key);
        const auto before = w.line->text().size();
        state.ResumeTiming();
        QTest::touchEvent(w.keyboard, device, false).release(0, w.key).commit(false);
        if (w.line->text().size() != before + 1) state.SkipWithError("the touch typed nothing");
        w.clearNow(state);
    }
}
BENCHMARK(TouchReleaseQTest);

void MouseReleaseQTest(benchmark::State& state) {
    Window& w = window();
    for (auto _ : state) {
        state.PauseTiming();
        QTest::mousePress(w.surface, Qt::LeftButton, {}, w.surfaceKey);
        const auto before = w.line->text().size();
        state.ResumeTiming();
        QTest::mouseRelease(w.surface, Qt::LeftButton, {}, w.surfaceKey);
        if (w.line->text().size() != before + 1) state.SkipWithError("the click typed nothing");
        w.clearNow(state);
    }
}
BENCHMARK(MouseReleaseQTest);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_window.reset();
    vcl::qt::UninstallQtWidgetset();
    return 0;
}
