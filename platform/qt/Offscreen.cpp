#include "Offscreen.h"

#include "vcl/Widgetset.h"

#include <QString>
#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace vcl::qt {

namespace {

void criticalMessagesOnly(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
    if (Type == QtCriticalMsg || Type == QtFatalMsg)
        std::cerr << Message.toLocal8Bit().constData() << std::endl;
}

} // namespace

bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

void PrepareOffscreen(bool Always) {
    setenv("QT_QPA_PLATFORM", "offscreen", Always ? 1 : 0);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (std::strcmp(platform, "offscreen") == 0) qInstallMessageHandler(criticalMessagesOnly);
}

void PrintModalMessages(const char* Program) {
    SetModalResponder([Program](TModalRequest& Request) {
        if (Request.Kind == mkMessage) {
            std::cerr << Program << ": " << Request.Message << "\n";
            Request.Answer(Request.Buttons.Contains(mbCancel) ? mrCancel : mrOk);
        } else {
            Request.Cancel();
        }
    });
}

} // namespace vcl::qt
