#pragma once

#include <QString>

#include <cstdint>

// The application's own version information, and its start-up settings.
namespace toolkit {

QString AppTitle();
int16_t AppMajor();
int16_t AppMinor();
int16_t AppRevision();
// Major, minor and revision, joined by dots.
QString AppVersion();
QString AppLegalCopyright();

// Start-up settings that must be made before the QApplication exists: the
// strip places and stacks its own windows, which only X11 allows, so a
// Wayland session that also offers X11 is asked for it.
void PrepareApplication();

// Start-up settings that need the QApplication: font substitutions.
void InitApplication();

} // namespace toolkit
