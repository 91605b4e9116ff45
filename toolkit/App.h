#pragma once

#include <QString>

#include <cstdint>

// The application's own version information.
namespace toolkit {

QString AppTitle();
int16_t AppMajor();
int16_t AppMinor();
int16_t AppRevision();
QString AppLegalCopyright();

} // namespace toolkit
