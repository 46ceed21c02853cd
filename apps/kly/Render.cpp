// kly render: a picture of a layout on a keyboard, drawn by the Qt widgetset offscreen.

#include "Commands.h"
#include "KeyboardSession.h"

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QImage>
#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace kly {

namespace {

// The largest picture kly render makes, in each direction.
constexpr int MaxRenderSize = 8192;

// Qt's remarks (no display, no desktop session) would mix with kly's own messages; only its
// critical messages reach standard error.
void quietQtMessages(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        std::cerr << Message.toLocal8Bit().constData() << std::endl;
}

// A picture needs no screen: draw offscreen unless the caller chose a platform.
void chooseOffscreen() {
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(quietQtMessages);
}

} // namespace

CommandRun SetupRender(CLI::App& Sub) {
    struct Options {
        std::string File;
        std::string Size;
        std::string Output;
        std::string State = "normal";
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->File, "Layout file (.kly)")->required();
    AddSizeOption(Sub, o->Size, "Size of the keyboard and of the picture in pixels")->required();
    Sub.add_option("-o,--output", o->Output, "Picture to write (PNG)")->required();
    Sub.add_option("--state", o->State, "Modifier state to show (default normal)")
        ->check(CLI::IsMember({"normal", "shift", "caps", "altgr"}));
    return [o] {
        TPixelSize size;
        ParsePixelSize(o->Size, size);
        if (size.Width > MaxRenderSize || size.Height > MaxRenderSize)
            throw EKlyError(
                vcl::FmtLoadStr(consts::SRenderTooLarge, {MaxRenderSize, MaxRenderSize}));
        // The layout is read before Qt starts, so a bad file fails fast and without Qt's noise.
        auto keyboard = std::make_unique<quimbel::TKeyboard>(nullptr);
        LoadKeyboard(*keyboard, o->File, size);
        if (o->State == "shift")
            keyboard->SetShiftState();
        else if (o->State == "caps")
            keyboard->ToggleCapsState();
        else if (o->State == "altgr")
            keyboard->ToggleAltGrState();

        // Qt lives for this command only, so that everything it holds is released on the way
        // out: the keyboard and its widget first, then the widgetset, then Qt.
        chooseOffscreen();
        int argc = 1;
        char name[] = "kly";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        vcl::qt::InstallQtWidgetset();
        const QImage picture = vcl::qt::GrabControl(keyboard.get());
        const bool saved =
            !picture.isNull() && picture.save(QString::fromLocal8Bit(o->Output.c_str()), "PNG");
        keyboard.reset();
        vcl::qt::UninstallQtWidgetset();
        if (!saved) throw EKlyError(vcl::FmtLoadStr(consts::SRenderWriteError, {o->Output}));
        return ExitOk;
    };
}

} // namespace kly
