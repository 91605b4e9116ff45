#include "toolkit/App.h"

namespace toolkit {

QString AppTitle() { return QStringLiteral("vorn2"); }
int16_t AppMajor() { return VORN_VERSION_MAJOR; }
int16_t AppMinor() { return VORN_VERSION_MINOR; }
int16_t AppRevision() { return VORN_VERSION_PATCH; }
QString AppLegalCopyright() { return QStringLiteral("Copyright (C) 2026 the vorn2 developers"); }

} // namespace toolkit
