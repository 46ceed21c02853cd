#include "vcl/Widgetset.h"

#include "vcl/HeadlessWidgetset.h"

#include <chrono>

namespace vcl {

namespace {
// Null until a widgetset is installed: the headless one answers then.
TWidgetset* g_widgetset = nullptr;
int g_beeps = 0;
} // namespace

TWidgetset::~TWidgetset() = default;

TWidgetset* Widgetset() {
    return g_widgetset ? g_widgetset : HeadlessWidgetset();
}

TWidgetset* InstallWidgetset(TWidgetset* W) {
    TWidgetset* previous = Widgetset();
    g_widgetset = W;
    return previous;
}

void Beep() {
    ++g_beeps;
    Widgetset()->Beep();
}

int BeepCount() {
    return g_beeps;
}

} // namespace vcl

namespace vcl {

std::shared_ptr<void> TWidgetset::StartTimer(int Ms, std::function<void()> Fire) {
    (void)Ms, (void)Fire;
    return nullptr;
}

long long TickCount() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace vcl
