// Typing by touch against typing by mouse on QuimbelKeyboard (offscreen, the built-in us layout,
// a QLineEdit as the target): the time from the release of a finger to the character being in
// the line edit, beside the same for the release of the mouse button. The press goes before each
// timed release, untimed. Compare the CPU column: QTest's touch sequence sleeps a millisecond
// before it delivers (synchronously, like the mouse release), which the wall time would count.
// The target is a touch release within 10 % of a mouse release.

#include "qtkeyboard/QuimbelKeyboard.h"

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointingDevice>
#include <QTest>
#include <QVBoxLayout>
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

void TouchRelease(benchmark::State& state) {
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
BENCHMARK(TouchRelease);

void MouseRelease(benchmark::State& state) {
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
BENCHMARK(MouseRelease);

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
