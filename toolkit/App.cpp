#include "toolkit/App.h"

namespace toolkit {

QString AppTitle() { return QStringLiteral("vorn2"); }
int16_t AppMajor() { return VORN_VERSION_MAJOR; }
int16_t AppMinor() { return VORN_VERSION_MINOR; }
int16_t AppRevision() { return VORN_VERSION_PATCH; }
QString AppLegalCopyright() { return QStringLiteral(VORN_LEGAL_COPYRIGHT); }

} // namespace toolkit
