#include "toolkit/Lifecycle.h"

#include "toolkit/Events.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace toolkit {

namespace {

std::function<void()> g_endHook;
std::function<void()> g_signalHandler;

int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here: the event loop does the rest.
extern "C" void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

void EndApplication() {
    // A copy: the hook may replace itself while it runs.
    if (const auto hook = g_endHook)
        hook();
    else
        QCoreApplication::exit(0);
}

std::function<void()> SetEndHook(std::function<void()> hook) {
    return std::exchange(g_endHook, std::move(hook));
}

void OnTerminationSignal(std::function<void()> handler) {
    g_signalHandler = std::move(handler);
    if (g_signalPipe[0] >= 0)
        return;
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
        }
        if (g_signalHandler)
            Dispatch(g_signalHandler);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace toolkit
