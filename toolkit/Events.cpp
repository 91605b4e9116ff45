#include "toolkit/Events.h"

#include "toolkit/App.h"
#include "toolkit/Error.h"
#include "toolkit/Prompts.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>
#include <new>
#include <optional>
#include <utility>

#include <sys/timerfd.h>
#include <unistd.h>

namespace toolkit {

namespace {

using Clock = std::chrono::steady_clock;

// Wakes the event loop at an exact moment: a monotonic timerfd watched by the
// event dispatcher, so the wait needs neither a busy loop nor millisecond
// timer rounding.
class Waker {
public:
    Waker() {
        m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (m_fd >= 0) {
            m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
            // Read, the expiry no longer keeps the notifier firing.
            QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
                uint64_t expirations = 0;
                [[maybe_unused]] const auto n = ::read(m_fd, &expirations, sizeof expirations);
            });
        }
    }
    ~Waker() {
        m_notifier.reset();
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // Returns once the deadline has passed, having processed, in its last
    // pass, every event that was pending when it woke. Without the timerfd a
    // precise Qt timer wakes the loop, to the millisecond.
    void waitUntil(Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            std::optional<QTimer> timer;
            if (!arm(deadline)) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
                timer.emplace().setSingleShot(true);
                timer->setTimerType(Qt::PreciseTimer);
                timer->start(std::max(left, std::chrono::milliseconds(1)));
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

private:
    bool arm(Clock::time_point deadline) {
        if (m_fd < 0)
            return false;
        // steady_clock is CLOCK_MONOTONIC, so its epoch is the timerfd's.
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            deadline.time_since_epoch())
                            .count();
        itimerspec wake{};
        wake.it_value.tv_sec = static_cast<time_t>(ns / 1000000000);
        wake.it_value.tv_nsec = static_cast<long>(ns % 1000000000);
        if (wake.it_value.tv_sec == 0 && wake.it_value.tv_nsec == 0)
            wake.it_value.tv_nsec = 1;
        return ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &wake, nullptr) == 0;
    }

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// How far the loop may run ahead of its grid without sleeping: about one
// display frame. A paused scroll still wakes this often.
constexpr std::chrono::milliseconds kMaxDebt{16};
// The shortest time between two pictures: at most 250 a second, so that fast
// text moves by a few pixels per picture rather than by one picture per step.
constexpr std::chrono::milliseconds kFrameInterval{4};

struct YieldState {
    std::chrono::nanoseconds period{std::chrono::milliseconds(1)};
    std::function<void()> hook;
    Clock::time_point lastDeadline{};
    Clock::time_point lastPicture{}; // when a visible change was last shown
    bool haveLast = false;
    bool visibleChange = false;      // a repaint asked for since the last pass
    std::unique_ptr<Waker> waker;
};

YieldState yieldState;
std::function<void(const QString&)> errorReporter;

void report(const QString& text) noexcept {
    try {
        // A copy, as for the other hooks: the reporter may replace itself while it runs.
        if (const auto reporter = errorReporter) {
            reporter(text);
        } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            MsgBox(text, vbOKOnly + vbCritical, AppTitle());
        }
    } catch (...) {
        // Nothing is left to tell the user with; the application carries on.
    }
}

// One pass over the pending events, without waiting for more, or with a
// waker a wait until the turn that handles them as they come; a picture
// asked for is painted in it.
void processPending(YieldState& s, Clock::time_point due, Waker* waker = nullptr) {
    const bool showing = std::exchange(s.visibleChange, false);
    if (waker)
        waker->waitUntil(due);
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (showing)
        s.lastPicture = due;
}

// The paced yield. The process wakes for the picture, not for the step: a
// yield after a step that changed no pixel returns at once and owes its time,
// and the next yield with a picture to show pays the debt by sleeping until
// its own turn, so that the picture reaches the screen when it is due. Every
// yield still processes the events pending, without waiting for more, unless
// a picture is held back by the frame interval; while it sleeps, events are
// handled as they come.
void pacedYield(YieldState& s) {
    const Clock::time_point now = Clock::now();
    // The next turn on the grid of periods. Yields keep to a grid, so that the
    // time the kernel takes to wake the thread does not add up and slow the
    // pace: a late yield is made up by the ones after it, which run at once
    // until the loop is back on its grid. One that is later than about a
    // display frame (a long handler, a modal dialog) starts a new grid instead
    // of rushing through the steps it missed.
    const Clock::time_point turn =
        s.haveLast ? std::max(s.lastDeadline + s.period, now - kMaxDebt) : now;
    s.lastDeadline = turn;
    const bool heldBack = s.visibleChange && turn - s.lastPicture < kFrameInterval;
    if (turn <= now) {
        // Behind the grid: catching up, without a picture per step.
        if (!heldBack)
            processPending(s, turn);
        return;
    }
    if ((!s.visibleChange || heldBack) && turn - now < kMaxDebt) {
        // A picture held back by the frame interval is not shown early by
        // an event pass; the input behind it waits that little longer.
        if (!s.visibleChange)
            processPending(s, turn);
        return;
    }
    if (!s.waker)
        s.waker = std::make_unique<Waker>();
    processPending(s, turn, s.waker.get());
}

} // namespace

void DoEvents() {
    YieldState& s = yieldState;
    if (s.period <= std::chrono::nanoseconds::zero()) {
        processPending(s, Clock::now());
    } else {
        pacedYield(s);
    }
    // A copy, so that the hook may replace or remove itself.
    if (const auto hook = s.hook)
        hook();
    s.haveLast = true;
}

void NoteVisibleChange() { yieldState.visibleChange = true; }

std::chrono::nanoseconds SetYieldPeriod(std::chrono::nanoseconds period) {
    return std::exchange(yieldState.period, std::max(period, std::chrono::nanoseconds::zero()));
}

std::function<void()> SetYieldHook(std::function<void()> hook) {
    return std::exchange(yieldState.hook, std::move(hook));
}

void Dispatch(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        report(ErrorText(e));
    } catch (...) {
        report(QStringLiteral("Unexpected error"));
    }
}

QString ErrorText(const std::exception& e) {
    if (const auto* error = dynamic_cast<const Error*>(&e))
        return error->Description();
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return Error::OutOfMemory().Description();
    return QString::fromUtf8(e.what());
}

void PostToDispatch(std::function<void()> handler) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [h = std::move(handler)] { Dispatch(h); },
        Qt::QueuedConnection);
}

std::function<void(const QString& text)>
SetErrorReporter(std::function<void(const QString& text)> reporter) {
    return std::exchange(errorReporter, std::move(reporter));
}

} // namespace toolkit
