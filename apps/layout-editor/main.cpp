// quimbel-layout-editor [FILE.kly]: designs keyboard layouts on a grid, with a preview keyboard
// to try them. With --screenshot PNG it renders its window offscreen, saves it and exits.

#include "EditorConsts.h"
#include "Editorf.h"
#include "ExitStatus.h"
#include "SizeOption.h"

#include "qt/Offscreen.h"
#include "qt/QtWidgetset.h"
#include "rtl/CodePage.h"
#include "runtime/Quimbel.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeySequence>
#include <QShortcut>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

using quimbel::layouteditor::TEditorForm;
namespace consts = quimbel::layouteditor::consts;

using quimbel::ExitFailed;
using quimbel::ExitOk;
using quimbel::ExitUsage;

} // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "quimbel-layout-editor: design keyboard layouts for the Quimbel on-screen keyboard",
        "quimbel-layout-editor"};
    std::string file;
    std::string builtIn;
    std::string screenshot;
    app.add_option("FILE", file, "Layout file (.kly) to open");
    app.add_option("--built-in", builtIn,
                   "Open a built-in layout (" + quimbel::BuiltInLayoutNames() + ") as a new one")
        ->excludes("FILE");
    std::string codePage;
    CLI::Option* codePageOption = app.add_option(
        "--codepage", codePage,
        "ANSI code page of captions and values: 874 or 1250-1258 (default: the built-in "
        "layout's, else from the locale)");
    app.add_option("--screenshot", screenshot,
                   "Render the window offscreen, save it as PNG and exit");
    std::string size;
    quimbel::AddSizeOption(app, size);
    std::string select;
    app.add_option("--select", select,
                   "Select the keys FIRST-LAST (indexes from 0) of the opened layout");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << "quimbel-layout-editor: " << e.what()
                  << " (see quimbel-layout-editor --help)\n";
        return ExitUsage;
    }
    try {
        quimbel::SelectCodePage(codePageOption->count() ? &codePage : nullptr, builtIn);
    } catch (const vcl::EConvertError& e) {
        std::cerr << "quimbel-layout-editor: " << e.Message()
                  << " (see quimbel-layout-editor --help)\n";
        return ExitUsage;
    }
    const bool offscreen = !screenshot.empty();
    if (offscreen) {
        vcl::qt::PrepareOffscreen(true);
    } else if (!vcl::qt::HasDisplay() && !std::getenv("QT_QPA_PLATFORM")) {
        std::cerr << "quimbel-layout-editor: no display; --screenshot PNG renders the window "
                     "offscreen\n";
        return ExitUsage;
    }

    // The program owns the application object, so that everything Qt holds is released at the
    // end: the form first, then the widgetset, then Qt.
    QApplication qtApp(argc, argv);
    vcl::qt::InstallQtWidgetset();
    if (offscreen) vcl::qt::PrintModalMessages("quimbel-layout-editor");
    int status = ExitOk;
    std::unique_ptr<TEditorForm> form;
    try {
        form = std::make_unique<TEditorForm>(nullptr);
        vcl::Application->SetMainForm(form.get());
        // Keys copied here paste into another editor's window or into a text editor as JSON.
        form->SetClipboardText = [](const std::string& Utf8) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(Utf8));
        };
        form->GetClipboardText = [] { return QGuiApplication::clipboard()->text().toStdString(); };
        form->FollowLayoutCodePage = codePageOption->count() == 0;
        form->FileCodePage =
            codePageOption->count() ? vcl::GetAnsiCodePage() : vcl::CodePageFromEnvironment();
        // A menu item has one shortcut: Redo's second one, as desktops know it, is the window's.
        form->HandleNeeded();
        if (QWidget* window = vcl::qt::WidgetOf(form.get()))
            QObject::connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Z")), window),
                             &QShortcut::activated, [&form] { form->RedoItem->Click(); });
        if (!builtIn.empty()) form->OpenBuiltIn(builtIn);
        if (!file.empty() && !form->OpenFile(file)) status = ExitFailed;
        if (!select.empty()) {
            int first = 0, last = -1;
            if (std::sscanf(select.c_str(), "%d-%d", &first, &last) < 2) last = first;
            form->SelectKeys(first, last);
        }
        if (!size.empty()) {
            int w = 0, h = 0;
            quimbel::ParseSize(size, w, h);
            form->SetClientWidth(w);
            form->SetClientHeight(h);
        }
        if (!offscreen) {
            vcl::Application->Run();
        } else {
            form->Show();
            vcl::Application->ProcessMessages();
            const QImage picture = vcl::qt::GrabControl(form.get());
            if (picture.isNull() ||
                !picture.save(QString::fromLocal8Bit(screenshot.c_str()), "PNG")) {
                std::cerr << "quimbel-layout-editor: "
                          << vcl::FmtLoadStr(consts::SScreenshotError, {screenshot}) << "\n";
                status = ExitFailed;
            }
        }
    } catch (const vcl::Exception& e) {
        std::cerr << "quimbel-layout-editor: " << e.Message() << "\n";
        status = ExitFailed;
    }
    form.reset();
    vcl::qt::UninstallQtWidgetset();
    return status;
}
