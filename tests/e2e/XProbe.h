#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <string>

// What the X server shows, read back with the X command-line tools, for the
// end-to-end suites. run_e2e.sh starts the server, with or without openbox.
namespace xprobe {

// Why the suite cannot run here; empty when a display is there.
QString unavailableReason();
// True when run_e2e.sh started openbox beside the server.
bool withWindowManager();
// The standard output of a program that is given 10 s at most.
QString run(const QString& program, const QStringList& args);
// Yields to the event loop until the condition holds; false after 15 s.
bool waitUntil(const std::function<bool()>& condition);
// The number after "name:" in xwininfo's output; INT_MIN when there is none.
int field(const QString& text, const QString& name);
// The window's place and size on the screen, as the X server has them.
QRect onScreen(uint64_t id);
// The outer rectangle of a window: its client area on the screen grown by
// the frame its window manager put around it.
QRect outerOnScreen(uint64_t id);
// The desktop less panels: the window manager's work area, else the screen.
QRect workArea();
bool staysOnTop(uint64_t id);
// Top-level windows from the bottom of the stacking order to the top.
QList<uint64_t> stacking();
// "x,y wxh", for failure messages.
std::string shown(const QRect& r);

// Runs the suites on the real display, no offscreen default; without a server
// they still start, to report the skip. `prepare` runs once the application is made.
int RunOnDisplay(int argc, char** argv, const std::function<void()>& prepare);

} // namespace xprobe
