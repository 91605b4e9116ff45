#include "toolkit/Events.h"

#include "toolkit/App.h"
#include "toolkit/Error.h"

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>
#include <new>

#include <sys/prctl.h>
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
            QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                             [this] { drain(); });
        }
        // Wake-ups on this thread should not be deferred by the default 50 us slack.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
    ~Waker() {
        m_notifier.reset();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Waker(const Waker&) = delete;
    Waker& operator=(const Waker&) = delete;

    // Returns once the deadline has passed, having processed, in its last
    // pass, every event that was pending when it woke.
    void waitUntil(Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            if (!arm(deadline)) {
                fallbackWait(deadline);
                return;
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

    void drain() {
        uint64_t expirations = 0;
        [[maybe_unused]] const auto n = ::read(m_fd, &expirations, sizeof expirations);
    }

    static void fallbackWait(Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            QTimer timer;
            timer.setSingleShot(true);
            timer.setTimerType(Qt::PreciseTimer);
            timer.start(std::max<std::chrono::milliseconds>(left, std::chrono::milliseconds(1)));
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

struct YieldState {
    std::chrono::nanoseconds period{std::chrono::milliseconds(1)};
    std::function<void()> hook;
    Clock::time_point lastReturn{};
    Clock::time_point lastDeadline{};
    bool haveLast = false;
    std::unique_ptr<Waker> waker;
};

YieldState& yieldState() {
    static YieldState state;
    return state;
}

std::function<void(const QString&)>& errorReporter() {
    static std::function<void(const QString&)> reporter;
    return reporter;
}

void report(const QString& text) noexcept {
    try {
        if (errorReporter()) {
            errorReporter()(text);
        } else if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QMessageBox::critical(nullptr, AppTitle(), text);
        }
    } catch (...) {
        // Nothing is left to tell the user with; the application carries on.
    }
}

// Sleeps in the event loop until this yield's turn on the grid of periods.
// Yields keep to a grid, so that the few tens of microseconds the kernel takes
// to wake the thread do not add up and slow the pace; a yield that is late by
// more than a quarter period starts a new grid instead of rushing to catch up.
// Returns whether it waited: the pass that woke at the deadline has then
// processed everything that was pending.
bool waitForTurn(YieldState& s) {
    if (s.period <= std::chrono::nanoseconds::zero() || !s.haveLast) {
        s.lastDeadline = Clock::now();
        return false;
    }
    const auto deadline =
        std::max(s.lastDeadline + s.period, s.lastReturn + s.period - s.period / 4);
    s.lastDeadline = deadline;
    if (Clock::now() >= deadline)
        return false;
    if (!s.waker)
        s.waker = std::make_unique<Waker>();
    s.waker->waitUntil(deadline);
    return true;
}

} // namespace

void DoEvents() {
    YieldState& s = yieldState();
    if (!waitForTurn(s))
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (s.hook) {
        // A copy, so that the hook may replace or remove itself.
        const auto hook = s.hook;
        hook();
    }
    s.lastReturn = Clock::now();
    s.haveLast = true;
}

void SetYieldPeriod(std::chrono::nanoseconds period) {
    yieldState().period = std::max(period, std::chrono::nanoseconds::zero());
}

void SetYieldHook(std::function<void()> hook) { yieldState().hook = std::move(hook); }

void Dispatch(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (const Error& e) {
        report(e.Description());
    } catch (const std::bad_alloc&) {
        report(Error::OutOfMemory().Description());
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Unexpected error"));
    }
}

void PostToDispatch(std::function<void()> handler) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [h = std::move(handler)] { Dispatch(h); },
        Qt::QueuedConnection);
}

void SetErrorReporter(std::function<void(const QString& text)> reporter) {
    errorReporter() = std::move(reporter);
}

} // namespace toolkit
