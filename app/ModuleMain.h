#pragma once

#include <QString>

// The application's entry.
namespace ModuleMain {

// Creates the control panel, loads it (the strip appears first, at its
// standard place), titles it with the application's name and version and
// shows it. The panel then lives until it is closed. SIGTERM and SIGINT end
// the application without the close question.
void Main();

// The panel's caption: title, a blank, major "." minor.
QString TitleAndVersion();

} // namespace ModuleMain
