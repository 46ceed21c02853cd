// kly render: a picture of a layout on a keyboard, drawn by the Qt widgetset offscreen.

#include "Commands.h"
#include "KeyboardSession.h"

#include "qt/QtWidgetset.h"

#include <QApplication>
#include <QImage>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

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
        std::string Theme = "classic";
        std::string Style;
        double Scale = 1;
    };
    auto o = std::make_shared<Options>();
    Sub.add_option("FILE", o->File, "Layout file (.kly)")->required();
    AddSizeOption(Sub, o->Size, "Size of the keyboard and of the picture in pixels")->required();
    Sub.add_option("-o,--output", o->Output, "Picture to write (PNG)")->required();
    Sub.add_option("--state", o->State, "Modifier state to show (default normal)")
        ->check(CLI::IsMember({"normal", "shift", "caps", "altgr"}));
    static const std::vector<std::string> themes{"classic", "light", "dark", "high-contrast",
                                                 "native"};
    Sub.add_option("--theme", o->Theme, "Theme of the keys (default classic)")
        ->check(CLI::IsMember(themes));
    Sub.add_option("--style", o->Style, "Qt widget style, such as Fusion or Windows");
    Sub.add_option("--scale", o->Scale, "Device pixel ratio of the picture (default 1)")
        ->check(CLI::Range(1.0, 4.0));
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
        const vcl::TTheme order[] = {vcl::thClassic, vcl::thLight, vcl::thDark,
                                     vcl::thHighContrast, vcl::thNative};
        keyboard->SetTheme(order[std::find(themes.begin(), themes.end(), o->Theme) -
                                 themes.begin()]);

        // Qt lives for this command only, so that everything it holds is released on the way
        // out: the keyboard and its widget first, then the widgetset, then Qt.
        chooseOffscreen();
        if (o->Scale != 1) qputenv("QT_SCALE_FACTOR", QByteArray::number(o->Scale));
        int argc = 1;
        char name[] = "kly";
        char* argv[] = {name, nullptr};
        QApplication app(argc, argv);
        if (!o->Style.empty()) QApplication::setStyle(QString::fromStdString(o->Style));
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
