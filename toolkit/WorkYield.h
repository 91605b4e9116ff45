#pragma once

#include <chrono>
#include <cstdint>

namespace toolkit {

// Keeps the windows answering while a long computation runs on the user-interface thread.
// The computation calls Check() often (it costs a counter test, and a clock read every few
// thousand calls); once the interval has passed since the last pass, Check() processes every
// pending event, unpaced, before it returns. Any handler may run inside that pass.
class WorkYield {
public:
    // Counts `units` of work done since the last call.
    void Check(int64_t units = 1) {
        m_units += units;
        if (m_units >= kUnitsPerClockRead)
            CheckClock();
    }

private:
    static constexpr int64_t kUnitsPerClockRead = 8192;
    void CheckClock();

    int64_t m_units = 0;
    std::chrono::steady_clock::time_point m_lastPass = std::chrono::steady_clock::now();
};

// The longest stretch of work between two event passes: 20 ms unless changed; with 0 every
// clock read runs a pass. Returns the interval it replaces.
std::chrono::nanoseconds SetWorkYieldInterval(std::chrono::nanoseconds interval);

} // namespace toolkit
