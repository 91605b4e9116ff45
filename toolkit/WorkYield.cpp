#include "toolkit/WorkYield.h"

#include <QCoreApplication>

#include <algorithm>

namespace toolkit {

namespace {

std::chrono::nanoseconds& workYieldInterval() {
    static std::chrono::nanoseconds interval = std::chrono::milliseconds(20);
    return interval;
}

} // namespace

WorkYield::WorkYield() : m_lastPass(std::chrono::steady_clock::now()) {}

void WorkYield::CheckClock() {
    m_units = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPass < workYieldInterval())
        return;
    ++m_passes;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    // The pass itself does not count as work.
    m_lastPass = std::chrono::steady_clock::now();
}

void SetWorkYieldInterval(std::chrono::nanoseconds interval) {
    workYieldInterval() = std::max(interval, std::chrono::nanoseconds::zero());
}

} // namespace toolkit
