#pragma once

#include <functional>

// The end of the application.
namespace toolkit {

// Ends the application at once: every event loop returns, the nested ones
// included, and the main one with status 0.
void EndApplication();
// Runs the hook in place of that end; an empty function restores it. Returns
// the hook it replaces.
std::function<void()> SetEndHook(std::function<void()> hook);

// Runs the handler through the dispatch boundary, from the event loop, when
// the process gets SIGTERM or SIGINT. Installed once; a later call replaces
// the handler.
void OnTerminationSignal(std::function<void()> handler);

} // namespace toolkit
