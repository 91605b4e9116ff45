#include "toolkit/Startup.h"

#include "toolkit/App.h"
#include "toolkit/StdFont.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace toolkit {

void PrepareApplication() {
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == QStringLiteral("wayland");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void InitApplication() {
    QCoreApplication::setApplicationName(AppTitle());
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(AppMajor()).arg(AppMinor()).arg(AppRevision()));
    RegisterFontSubstitutions();
}

} // namespace toolkit
