// Runs the real scroll loop with the real paced yield for about two seconds at
// each of a few timings and prints the step rate, which should be close to
// 1000 / (Timing + 1) steps a second on an idle machine.
#include "marquee/CSQCtrl.h"
#include "support/Overrides.h"
#include "toolkit/App.h"
#include "toolkit/Events.h"
#include "toolkit/Window.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>

namespace {

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    toolkit::InitApplication();

    toolkit::Window owner;
    auto csqc = std::make_shared<CSQCtrl>();
    csqc->Show(owner);
    csqc->Form()->SetWidth(19200);
    csqc->Refresh();
    const QString text = QStringLiteral("The quick brown fox jumps over the lazy dog. ").repeated(20);

    for (int16_t timing : {0, 1, 9}) {
        using Clock = std::chrono::steady_clock;
        long yields = 0;
        Clock::time_point start;
        double cpuStart = 0;
        const auto run = std::chrono::seconds(2);
        csqc->SetTiming(timing);
        std::optional<testsupport::ScopedYieldHook> hook;
        hook.emplace([&] {
            if (yields++ == 0) {
                // Count from the first yield, so that loading is not timed.
                start = Clock::now();
                cpuStart = cpuSeconds();
            } else if (Clock::now() - start >= run) {
                csqc->Scroll(false, QString());
            }
        });
        csqc->Scroll(true, text);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = cpuSeconds() - cpuStart;
        hook.reset();
        const double steps = static_cast<double>(yields - 1) / (timing + 1);
        std::printf("timing %d: %.0f steps/s\n", timing, steps / seconds);
        std::fprintf(stderr, "  (expected %.0f; %.1f%% of one core)\n", 1000.0 / (timing + 1),
                     100.0 * cpu / seconds);
    }
    csqc->Unload();
    return 0;
}
