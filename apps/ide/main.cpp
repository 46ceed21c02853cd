// quimbel-ide [FORM.dfm] [--package FILE.so]... [--select NAME] [--screenshot PNG]: a form
// designer for forms with on-screen keyboards. It loads the design packages beside itself and
// those given, shows the palette, the form (with the component NAME selected) and the Object
// Inspector; with --screenshot it renders its window offscreen into a PNG file and exits.

#include "ExitStatus.h"
#include "IdeMainForm.h"
#include "SizeOption.h"

#include "designide/DesignIntf.h"
#include "qt/Offscreen.h"
#include "qt/QtWidgetset.h"
#include "rtl/CodePage.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using quimbel::ExitFailed;
using quimbel::ExitOk;
using quimbel::ExitUsage;

// The packages to load: those beside the program, else the installed design package (relative
// to the installed program), else the one of the build tree; then those of the command line.
std::vector<std::string> packagesToLoad(const std::vector<std::string>& Given) {
    std::vector<std::string> files;
    for (const vcl::AnsiString& f : quimbel::ide::PackagesBesideProgram())
        files.push_back(f);
#ifdef QUIMBEL_DESIGN_PACKAGE
    for (const std::string& f :
         {quimbel::ide::ProgramFolder() + "/" + QUIMBEL_INSTALLED_DESIGN_PACKAGE,
          std::string(QUIMBEL_DESIGN_PACKAGE)})
        if (files.empty() && vcl::FileExists(f)) files.push_back(f);
#endif
    for (const std::string& f : Given)
        files.push_back(f);
    return files;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"quimbel-ide: design forms with on-screen keyboards", "quimbel-ide"};
    std::string form;
    std::vector<std::string> packages;
    std::string screenshot;
    std::string select;
    app.add_option("form", form, "Form file to open (.dfm, text or binary)");
    app.add_option("--package", packages, "Design package to load (.so); may be repeated");
    app.add_option("--screenshot", screenshot,
                   "Render the IDE window offscreen into this PNG file and exit");
    app.add_option("--select", select, "Select the component of this name on the form");
    std::string size;
    quimbel::AddSizeOption(app, size);
    std::string codePage;
    CLI::Option* codePageOption = app.add_option(
        "--codepage", codePage,
        "ANSI code page of the form's texts: 874 or 1250-1258 (default from the locale)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << "quimbel-ide: " << e.what() << " (see quimbel-ide --help)\n";
        return ExitUsage;
    }
    try {
        if (codePageOption->count()) vcl::SetAnsiCodePageFromArgument(codePage);
    } catch (const vcl::EConvertError& e) {
        std::cerr << "quimbel-ide: " << e.Message() << " (see quimbel-ide --help)\n";
        return ExitUsage;
    }
    if (!screenshot.empty()) {
        vcl::qt::PrepareOffscreen(true);
    } else if (!vcl::qt::HasDisplay() && !std::getenv("QT_QPA_PLATFORM")) {
        std::cerr << "quimbel-ide: no display; --screenshot PNG renders the window offscreen\n";
        return ExitUsage;
    }

    // The layout designer shows and lets the user choose the code page (files open in the
    // command line's or the locale's page unless one is chosen there) and guards its work.
    designide::EnvironmentOptions().CodePageInDesigners = true;
    designide::EnvironmentOptions().SafeEditingInDesigners = true;
    designide::EnvironmentOptions().FileCodePage = vcl::GetAnsiCodePage();

    QApplication qtApp(argc, argv);
    vcl::qt::InstallQtWidgetset();
    if (!screenshot.empty()) vcl::qt::PrintModalMessages("quimbel-ide");
    int status = ExitOk;
    std::unique_ptr<quimbel::ide::TIdeMainForm> ide;
    try {
        ide = std::make_unique<quimbel::ide::TIdeMainForm>(nullptr);
        vcl::Application->SetMainForm(ide.get());
        for (const std::string& p : packagesToLoad(packages))
            ide->LoadPackage(p);
        if (!form.empty() && !ide->OpenForm(form)) status = ExitFailed;
        vcl::TForm* root = ide->Designer()->Root();
        if (!select.empty() && status == ExitOk) {
            if (vcl::TComponent* c =
                    vcl::SameText(select, root->GetName()) ? root : root->FindComponent(select)) {
                ide->Designer()->Select(c);
            } else {
                std::cerr << "quimbel-ide: the form has no component named \"" << select << "\"\n";
                status = ExitUsage;
            }
        }
        if (status != ExitUsage) {
            if (!size.empty()) {
                int w = 0, h = 0;
                quimbel::ParseSize(size, w, h);
                ide->SetClientWidth(w);
                ide->SetClientHeight(h);
            } else if (!screenshot.empty()) {
                // A screenshot shows every row of the Object Inspector.
                ide->SetClientHeight(
                    std::max(ide->GetClientHeight(),
                             ide->Inspector()->RowsHeight() +
                                 ide->RowsPanel->ClientToClient({0, 0}, ide.get()).Y));
            }
            ide->Show();
            if (screenshot.empty()) {
                vcl::Application->Run();
            } else {
                vcl::Application->ProcessMessages();
                const QImage picture = vcl::qt::GrabControl(ide.get());
                if (picture.isNull() ||
                    !picture.save(QString::fromLocal8Bit(screenshot.c_str()), "PNG")) {
                    std::cerr << "quimbel-ide: cannot write " << screenshot << "\n";
                    status = ExitFailed;
                }
            }
        }
    } catch (const vcl::Exception& e) {
        std::cerr << "quimbel-ide: " << e.Message() << "\n";
        status = ExitFailed;
    }
    ide.reset();
    vcl::qt::UninstallQtWidgetset();
    return status;
}
