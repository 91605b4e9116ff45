#pragma once

#include <QByteArray>
#include <QMargins>
#include <QRect>

#include <cstdint>
#include <optional>

class QWidget;

// What Qt does not offer on X11. Each answers "nothing" on another window
// system.
namespace toolkit {

// Whether a window manager runs (its hint handshake answers).
bool X11WindowManagerRunning();

// The frame that the window manager will put around the top-level widget is
// asked of it before the widget is first shown, so that the widget can be
// mapped with its client area exactly where the frame leaves it. The answer
// depends on what the widget tells the window manager (caption bar, buttons,
// fixed size), so those are set first. The answer is a property on the
// window, read without waiting when the window is about to be mapped; none
// when no window manager runs or it has not answered yet.
bool RequestFrameExtents(QWidget* widget); // false when there is nobody to ask
std::optional<QMargins> FrameExtents(QWidget* widget);

// Writes the stay-on-top state on a window itself, for a display without a
// window manager to ask.
void X11WriteStaysOnTop(uint64_t window, bool on);

// Where the window's client area stands on the screen now and how big it
// is, asked of the X server itself: the reports Qt passes on can come out of
// order, a window manager's answer to a request behind its own placement.
std::optional<QRect> X11ClientGeometry(uint64_t window);

// Asks for a new place or size of a shown window, only the edges and
// lengths that changed (a rectangle whose unchanged parts are empty): a
// window manager keeps what it imposed on the others, and an answer still on
// its way is not undone by a request for something else. Coordinates are the
// client area's, in screen pixels. False where this is not X11.
struct X11Change {
    std::optional<int> x, y, width, height;
};
bool X11Configure(uint64_t window, const X11Change& change);

// What a native event of Qt's says about a window: a new place or size
// (Qt passes on only those that differ from the last one it passed on,
// which need not be the last one read), an expose, or a new parent (a
// window manager's frame, or the root window again).
struct X11Event {
    enum Kind { Other, Configured, Exposed, Reparented } kind = Other;
    uint64_t window = 0, parent = 0;
};
X11Event X11Read(const QByteArray& eventType, void* message);
// Asks the X server for the reports of another client's window, a frame,
// when it is moved or resized; false for the root window and off X11.
bool X11WatchMoves(uint64_t window);
// Tells the window itself, as a window manager does, that its client area
// now stands at the given place and size (a synthetic ConfigureNotify).
void X11ReportPlace(uint64_t window, const QRect& client);
// Whether the X server shows the window, its parents all mapped; none off X11.
std::optional<bool> X11Viewable(uint64_t window);

// Whether the left button is held, as the X server sees it now.
std::optional<bool> X11LeftButtonDown();

} // namespace toolkit
