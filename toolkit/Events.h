#pragma once

#include <chrono>
#include <functional>

class QString;

namespace toolkit {

class Error;

// The paced yield: processes every pending event once and returns, at most
// once per yield period on average and never sooner than three quarters of a
// period after the previous yield returned. While it waits it sleeps in the
// event loop, handling whatever arrives.
void DoEvents();

// The period between yields (1 ms unless changed). Tests set 0 so that a
// yield only processes what is pending.
void SetYieldPeriod(std::chrono::nanoseconds period);

// A callback run at the end of every yield; an empty function removes it.
void SetYieldHook(std::function<void()> hook);

// The one boundary through which every handler is entered: an error raised
// by the handler is shown to the user and the application carries on.
void Dispatch(const std::function<void()>& handler) noexcept;

// Queues a handler to run through Dispatch once control is back in the event
// loop, after the handlers queued before it.
void PostToDispatch(std::function<void()> handler);

// Where Dispatch sends the errors it catches. The default shows a message box
// titled with the application title.
void SetErrorReporter(std::function<void(const QString& text)> reporter);

} // namespace toolkit
