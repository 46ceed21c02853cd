// An ordinary Qt Widgets program that knows nothing of Quimbel: run with QT_IM_MODULE=quimbel it
// checks that the installed input method shows its panel when a field is tapped, types into the
// field, offers digits for a number field and hides when the focus leaves. It finds the panel's
// keys as a screen reader would, through Qt's accessibility, and clicks them with mouse events.
// Prints one line per step; exits 1 at the first step that fails.

#include <QAccessible>
#include <QApplication>
#include <QInputMethod>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "plain-widgets: %s\n", what);
    std::exit(1);
}

void Step(const char* what) { std::printf("%s\n", what); }

// The screen rectangle of the button named Name anywhere below Iface, or an empty one.
QRect FindButton(QAccessibleInterface* iface, const QString& name, int depth = 0) {
    if (!iface || depth > 12) return {};
    if (iface->role() == QAccessible::Button && iface->text(QAccessible::Name) == name &&
        !iface->state().invisible)
        return iface->rect();
    for (int i = 0; i < iface->childCount(); ++i) {
        const QRect found = FindButton(iface->child(i), name, depth + 1);
        if (!found.isEmpty()) return found;
    }
    return {};
}

void Click(QWidget* window, QPoint global) {
    const QPoint at = window->mapFromGlobal(global);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

void ClickKey(QWidget* window, const QString& name) {
    const QRect key = FindButton(QAccessible::queryAccessibleInterface(window), name);
    if (key.isEmpty()) Fail(qPrintable("no key named " + name + " on the panel"));
    Click(window, key.center());
}

bool PanelShown() { return QGuiApplication::inputMethod()->isVisible(); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* line = new QLineEdit;
    auto* number = new QSpinBox;
    number->setRange(0, 999);
    auto* button = new QPushButton("OK");
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(line);
    layout->addWidget(number);
    layout->addWidget(button);
    layout->addStretch();
    window.resize(800, 600);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) Fail("the window was never shown");

    Click(&window, line->mapToGlobal(line->rect().center()));
    if (!QTest::qWaitFor(PanelShown, 3000)) Fail("no panel after a tap on the line edit");
    Step("a tap on the line edit shows the panel");

    ClickKey(&window, "h");
    ClickKey(&window, "i");
    if (line->text() != "hi") Fail(qPrintable("the line edit holds '" + line->text() + "'"));
    Step("keys h and i typed \"hi\" into the line edit");

    Click(&window, number->mapToGlobal(number->rect().center()));
    QTest::qWait(50);
    if (!PanelShown()) Fail("the panel hid on the way to the number field");
    auto* root = QAccessible::queryAccessibleInterface(&window);
    if (FindButton(root, "7").isEmpty() || !FindButton(root, "h").isEmpty())
        Fail("the number field did not get a pad of digits");
    number->selectAll();
    ClickKey(&window, "7");
    ClickKey(&window, "2");
    if (number->value() != 72) Fail(qPrintable("the spin box holds " + number->text()));
    Step("the number field gets digits and takes 72");

    Click(&window, button->mapToGlobal(button->rect().center()));
    if (!QTest::qWaitFor([] { return !PanelShown(); }, 3000))
        Fail("the panel stays when the focus goes to a button");
    Step("the panel hides when the focus goes to a button");
    return 0;
}
