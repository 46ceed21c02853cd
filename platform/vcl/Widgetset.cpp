#include "vcl/Widgetset.h"

#include "vcl/HeadlessWidgetset.h"

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
