#pragma once

#include <chrono>
#include <exception>
#include <functional>

class QString;

namespace toolkit {

class Error;

// The paced yield: processes every pending event once and returns, once per
// yield period on average. The process wakes for the picture, not for the
// yield: a yield after which no pixel would change returns at once, owing its
// time (never more than about one display frame), and the next yield that has
// a picture to show sleeps until its own turn, handling whatever arrives, so
// that each picture reaches the screen when it is due; pictures come at most
// 250 times a second. A yield that returns at once still processes what is
// pending, except while a picture waits for its turn (at most 4 ms).
void DoEvents();

// Tells the paced yield that a repaint or a scroll of some pixels has been
// asked for, so that the next yield shows it at its turn. Code that changes
// no pixel does not call it, and the yield then owes its time.
void NoteVisibleChange();

// The period between yields (1 ms unless changed); 0 makes a yield only
// process what is pending. Returns the period it replaces.
std::chrono::nanoseconds SetYieldPeriod(std::chrono::nanoseconds period);

// A callback run at the end of every yield; an empty function removes it.
// Returns the one it replaces.
std::function<void()> SetYieldHook(std::function<void()> hook);

// The one boundary through which every handler is entered: an error raised
// by the handler is shown to the user and the application carries on.
void Dispatch(const std::function<void()>& handler) noexcept;

// The text that tells the user of an error: its description, or for one that is not a
// toolkit::Error, what the standard library says of it.
QString ErrorText(const std::exception& e);

// Queues a handler to run through Dispatch once control is back in the event
// loop, after the handlers queued before it.
void PostToDispatch(std::function<void()> handler);

// Where Dispatch sends the errors it catches. The default (an empty function)
// shows a message box titled with the application title. Returns the reporter
// it replaces.
std::function<void(const QString& text)>
SetErrorReporter(std::function<void(const QString& text)> reporter);

} // namespace toolkit
