// quimbel-demo: an edit box over an on-screen keyboard. With a display it is interactive;
// without one, or with --self-test TEXT, it types TEXT by clicking the key buttons with real
// pointer events, prints what the edit box holds, saves a screenshot and exits 0 only when the
// edit box holds exactly TEXT.

#include "ExitStatus.h"
#include "DemoConsts.h"
#include "DemoForm.h"
#include "Typist.h"

#include "qt/Offscreen.h"
#include "qt/QtWidgetset.h"
#include "rtl/CodePage.h"
#include "runtime/Quimbel.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

using quimbel::demo::TDemoForm;
namespace consts = quimbel::demo::consts;

using quimbel::ExitFailed;
using quimbel::ExitOk;
using quimbel::ExitUsage;

// A sentence for the self-test: the first of the built-in sentences that the active code page
// holds and the layout can type (capitals, digits and Alt Gr characters where the layout has
// them), else the normal values of its first keys.
std::string defaultSentence(const quimbel::TKeyboard& Keyboard) {
    static const char* const sentences[] = {
        "Hello, World! Café & señor: 1 + 2 = 3 €",    // us
        "Grüße an Max: 3 € @ {x} 42 µ²",              // de
        "Съешь же ещё этих мягких французских булок", // ru
        "Ξεσκεπάζω την ψυχοφθόρα βδελυγμία",          // el
        "3.14*2-1/8+42",                              // numpad
        "+4930123*5#",                                // phone
    };
    for (const char* s : sentences) {
        vcl::AnsiString ansi;
        try {
            ansi = vcl::Utf8ToAnsiStrict(s);
        } catch (const vcl::EConvertError&) {
            continue;
        }
        if (quimbel::demo::PlanTyping(Keyboard, ansi).Missing.empty()) return s;
    }
    vcl::AnsiString text;
    const quimbel::TKeyCollection* keys = Keyboard.GetKeys();
    for (int i = 0; i < keys->GetCount() && text.size() < 40; ++i) {
        const quimbel::TKey* key = keys->GetItem(i);
        if (key->KeyType == quimbel::ktNormal && key->Visible && key->Enabled)
            text += key->KeyValue[quimbel::klNormal];
    }
    return vcl::AnsiToUtf8(text);
}

void processEvents() {
    vcl::Application->ProcessMessages();
}

// A press and a release of the left button in the middle of the key's button, delivered to the
// keyboard's widget as Qt delivers a user's click.
void clickKey(quimbel::TKeyboard* Keyboard, quimbel::TKey* Key) {
    QWidget* widget = vcl::qt::WidgetOf(Keyboard);
    const vcl::TControl* button = Key->Control;
    const vcl::TRect frame = Keyboard->NonClientInsets();
    const QPointF pos(button->GetLeft() + button->GetWidth() / 2 + frame.Left,
                      button->GetTop() + button->GetHeight() / 2 + frame.Top);
    const QPointF global = widget->mapToGlobal(pos);
    QMouseEvent move(QEvent::MouseMove, pos, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    processEvents();
    QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
    processEvents();
}

int runSelfTest(TDemoForm* Form, const std::string& Text, const std::string& Screenshot) {
    vcl::AnsiString ansi;
    try {
        ansi = vcl::Utf8ToAnsiStrict(Text);
    } catch (const vcl::EConvertError& e) {
        std::cerr << "quimbel-demo: " << vcl::FmtLoadStr(consts::SNotAnsi, {e.Message()}) << "\n";
        return ExitFailed;
    }
    Form->Show();
    processEvents();
    const quimbel::demo::TTypingPlan plan = quimbel::demo::PlanTyping(*Form->Keyboard, ansi);
    if (!plan.Missing.empty()) {
        std::cerr << "quimbel-demo: "
                  << vcl::FmtLoadStr(consts::SNoKeyFor, {vcl::AnsiToUtf8(plan.Missing)}) << "\n";
        return ExitFailed;
    }
    for (quimbel::TKey* key : plan.Keys)
        clickKey(Form->Keyboard, key);
    processEvents();

    const std::string typed = vcl::AnsiToUtf8(Form->Edit->GetText());
    std::cout << "typed: " << typed << std::endl;
    const QImage picture = vcl::qt::GrabControl(Form);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(Screenshot.c_str()), "PNG")) {
        std::cerr << "quimbel-demo: " << vcl::FmtLoadStr(consts::SScreenshotError, {Screenshot})
                  << "\n";
        return ExitFailed;
    }
    if (typed != Text) {
        std::cerr << "quimbel-demo: " << vcl::FmtLoadStr(consts::STypedOther, {typed, Text})
                  << "\n";
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"quimbel-demo: an edit box over the Quimbel on-screen keyboard", "quimbel-demo"};
    std::string layout = "us";
    std::string text;
    std::string screenshot = "quimbel-demo.png";
    std::string codePage;
    app.add_option("--layout", layout,
                   "Built-in layout (" + quimbel::BuiltInLayoutNames() +
                       ") or a layout file (.kly); default us");
    CLI::Option* codePageOption = app.add_option(
        "--codepage", codePage,
        "ANSI code page: 874 or 1250-1258 (default: the built-in layout's, else from the locale)");
    CLI::Option* selfTestOption = app.add_option(
        "--self-test", text,
        "Type TEXT offscreen by clicking the keys, print it, save a screenshot; exit 0 when the "
        "edit box holds exactly TEXT");
    app.add_option("--screenshot", screenshot,
                   "Where the self-test saves its screenshot (default quimbel-demo.png)");
    std::string scan;
    app.add_option("--scan", scan,
                   "Switch scanning: automatic (Space picks) or step (Return moves, Space picks); "
                   "off by default")
        ->check(CLI::IsMember({"automatic", "step"}));
    int dwell = 0;
    app.add_option("--dwell", dwell,
                   "Resting the pointer on a key this many milliseconds presses it; off by default")
        ->check(CLI::NonNegativeNumber);
    int clientWidth = 0, clientHeight = 0;
    app.add_option_function<std::string>(
        "--size",
        [&](const std::string& size) {
            if (std::sscanf(size.c_str(), "%dx%d", &clientWidth, &clientHeight) != 2 ||
                clientWidth <= 0 || clientHeight <= 0)
                throw CLI::ValidationError("--size", "expected WIDTHxHEIGHT, e.g. 480x300");
        },
        "Size of the window's client area, WIDTHxHEIGHT (default 960x400)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << "quimbel-demo: " << e.what() << " (see quimbel-demo --help)\n";
        return ExitUsage;
    }

    // A built-in layout brings its code page; an explicit one wins.
    try {
        quimbel::SelectCodePage(codePageOption->count() ? &codePage : nullptr, layout);
    } catch (const vcl::EConvertError& e) {
        std::cerr << "quimbel-demo: " << e.Message() << " (see quimbel-demo --help)\n";
        return ExitUsage;
    }

    // Without a display the demo can only test itself, and does so offscreen.
    const bool selfTest = selfTestOption->count() > 0 || !vcl::qt::HasDisplay();
    if (selfTest) vcl::qt::PrepareOffscreen(false);

    // The program owns the application object, so that everything Qt holds (fonts included) is
    // released at the end: the form and its widgets first, then the widgetset, then Qt.
    QApplication qtApp(argc, argv);
    vcl::qt::InstallQtWidgetset();
    int status = ExitOk;
    std::unique_ptr<TDemoForm> form;
    try {
        form = std::make_unique<TDemoForm>(nullptr);
        vcl::Application->SetMainForm(form.get());
        form->UseLayout(layout);
        if (clientWidth > 0) form->SetClientSize(clientWidth, clientHeight);
        if (!scan.empty())
            form->Keyboard->SetSwitchScanning(scan == "step" ? quimbel::ssStep
                                                             : quimbel::ssAutomatic);
        form->Keyboard->SetDwellTime(dwell);
        if (!selfTest) {
            vcl::Application->Run();
        } else {
            if (selfTestOption->count() == 0) text = defaultSentence(*form->Keyboard);
            status = runSelfTest(form.get(), text, screenshot);
        }
    } catch (const vcl::Exception& e) {
        // The names in these messages are the command line's own bytes.
        std::cerr << "quimbel-demo: " << e.Message() << "\n";
        status = ExitFailed;
    }
    form.reset();
    vcl::qt::UninstallQtWidgetset();
    return status;
}
