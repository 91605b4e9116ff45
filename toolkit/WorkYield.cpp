#include "toolkit/WorkYield.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace toolkit {

static constinit std::chrono::nanoseconds workYieldInterval = std::chrono::milliseconds(20);

void WorkYield::CheckClock() {
    m_units = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPass < workYieldInterval)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    // The pass itself does not count as work.
    m_lastPass = std::chrono::steady_clock::now();
}

std::chrono::nanoseconds SetWorkYieldInterval(std::chrono::nanoseconds interval) {
    return std::exchange(workYieldInterval, std::max(interval, std::chrono::nanoseconds::zero()));
}

} // namespace toolkit
