#pragma once

#include <QMargins>

#include <cstdint>
#include <optional>

class QWidget;

// What Qt does not offer on X11. Each answers "nothing" on another window
// system or where libxcb was not built in.
namespace toolkit {

// Whether a window manager runs (its hint handshake answers).
bool X11WindowManagerRunning();

// The frame that the window manager will put around the top-level widget,
// asked of it before the widget is first shown, so that the widget can be
// mapped with its client area exactly where the frame leaves it. The answer
// depends on what the widget tells the window manager (caption bar, buttons,
// fixed size), so those are set first. Waits at most a second for the
// answer; nothing when no window manager runs or none answers.
std::optional<QMargins> AskFrameExtents(QWidget* widget);

// Writes the stay-on-top state on a window itself, for a display without a
// window manager to ask.
void X11WriteStaysOnTop(uint64_t window, bool on);

// Whether the left button is held, as the X server sees it now.
std::optional<bool> X11LeftButtonDown();

} // namespace toolkit
