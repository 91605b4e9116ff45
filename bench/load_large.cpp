// Loads a 100 MB text file through "Local(&L)..." on the real panel (the Open dialog scripted)
// and prints the time until the strip makes its first step with the new text, the longest
// time the panel went without answering meanwhile (a 5 ms timer's largest gap), and the peak
// resident memory against the target of 6 times the file size.
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "support/ScriptedCommonDialog.h"
#include "util/CFileStream.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>

#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// About `bytes` of page text: tags, words and CR LF line ends.
bool writePage(const QString& path, qint64 bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray line =
        "<p class=\"news\">The quick brown fox jumps over the <b>lazy</b> dog.</p>\r\n";
    QByteArray block = line.repeated(16384);
    for (qint64 written = 0; written < bytes; written += block.size()) {
        if (f.write(block) != block.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.html"));
    const qint64 target = 100LL * 1000 * 1000;
    if (!dir.isValid() || !writePage(path, target)) {
        std::fprintf(stderr, "cannot write the test file\n");
        return 2;
    }
    const qint64 size = QFile(path).size();

    const testsupport::ScopedEndHook stayUp{[] {}};
    const testsupport::InstalledCommonDialogs dialogs;
    dialogs->AnswerOpen(path);
    ModuleMain::Main();
    const auto panel = FormMain::LoadedPanels().front();
    const auto csqc = panel->Controller();

    const long baseKiB = peakRssKiB();
    Clock::time_point start;
    Clock::time_point firstStep;
    Clock::time_point lastTick;
    Clock::duration longestGap{};
    bool loading = false;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        if (loading)
            longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });
    ticker.start();

    int steps = 0;
    const testsupport::ScopedYieldHook hook{[&] {
        if (!csqc->Fuel())
            return;
        if (steps++ == 0) {
            firstStep = Clock::now();
            loading = false;
        }
        if (Clock::now() - firstStep > std::chrono::seconds(1))
            csqc->Scroll(false, QString());
    }};
    QTimer::singleShot(50, [&] {
        start = Clock::now();
        lastTick = start;
        loading = true;
        // Returns once the load and its second of scrolling are over.
        panel->mnuFileLocal_Click();
        std::printf("file: %.1f MB; first scrolled step after %.0f ms; longest gap between the "
                    "panel's 5 ms timer ticks while loading: %.0f ms; %d steps in the second "
                    "after\n",
                    size / 1e6, ms(firstStep - start), ms(longestGap), steps);
        const long peak = peakRssKiB();
        std::printf("peak resident memory: %.1f MB (%.2f x the file; %.1f MB before the load); "
                    "target <= 6 x\n",
                    peak * 1024.0 / 1e6, peak * 1024.0 / static_cast<double>(size),
                    baseKiB * 1024.0 / 1e6);
        std::printf("segments: %d\n", csqc->SegmentCount());

        // The same steps one by one, each with the longest time the timer had to wait.
        auto phase = [&](const char* name, const std::function<void()>& step) {
            const auto t0 = Clock::now();
            lastTick = t0;
            longestGap = {};
            loading = true;
            step();
            loading = false;
            longestGap = std::max(longestGap, Clock::now() - lastTick);
            std::printf("  %-28s %6.0f ms, longest gap %4.0f ms\n", name, ms(Clock::now() - t0),
                        ms(longestGap));
        };
        CFileStream reader;
        reader.SetPath(path);
        QString text;
        phase("read and decode (Ascii)", [&] { text = reader.Ascii(); });
        phase("ReplaceNewLine", [&] { ModuleMain::ReplaceNewLine(text, QStringLiteral(" ")); });
        phase("StripEnclosed", [&] {
            ModuleMain::StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
        });
        phase("cut into segments (Scroll)", [&] { csqc->Scroll(false, text); });
        std::fflush(stdout);
        std::_Exit(peak * 1024.0 <= 6.0 * static_cast<double>(size) ? 0 : 1);
    });
    return app.exec();
}
