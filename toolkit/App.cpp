#include "toolkit/App.h"

#include "toolkit/StdFont.h"

#include <QCoreApplication>
#include <QtGlobal>

namespace toolkit {

QString AppTitle() { return QStringLiteral("vorn2"); }
int16_t AppMajor() { return VORN_VERSION_MAJOR; }
int16_t AppMinor() { return VORN_VERSION_MINOR; }
int16_t AppRevision() { return VORN_VERSION_PATCH; }
QString AppLegalCopyright() { return QStringLiteral(VORN_LEGAL_COPYRIGHT); }

QString AppVersion() {
    return QStringLiteral("%1.%2.%3").arg(AppMajor()).arg(AppMinor()).arg(AppRevision());
}

void PrepareApplication() {
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == QStringLiteral("wayland");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void InitApplication() {
    QCoreApplication::setApplicationName(AppTitle());
    QCoreApplication::setApplicationVersion(AppVersion());
    RegisterFontSubstitutions();
}

} // namespace toolkit
