// Loads a big file through "Local(&L)..." on the real panel (the Open dialog scripted) and
// prints the time until the strip makes its first step with the new text, the longest time
// the panel went without answering meanwhile (a 5 ms timer's largest gap), and the peak
// resident memory the load added to the process. The targets: no gap over 100 ms, the first
// step within 1.5 s, at most 4 times the file's size added. Exits 1 when one is missed.
//   load_large [page|text|tags]
//     page  100 MB of HTML, a tag every few words, CR LF line ends (the default)
//     text  30 MiB of plain text in UTF-8, Japanese and English, LF line ends
//     tags  10 MB of HTML with 200 000 tags on a single line
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

// `line` repeated until the file holds at least `bytes`, or `count` times when that is given.
bool writeRepeated(const QString& path, const QByteArray& line, qint64 bytes, qint64 count = 0) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (count == 0)
        count = (bytes + line.size() - 1) / line.size();
    const QByteArray block = line.repeated(4096);
    for (; count >= 4096; count -= 4096) {
        if (f.write(block) != block.size())
            return false;
    }
    return f.write(line.repeated(count)) == line.size() * count;
}

bool writeFile(const QString& kind, const QString& path) {
    if (kind == QLatin1String("text"))
        return writeRepeated(path,
                             "The strip scrolls one line of text. \xe6\x96\x87\xe5\xad\x97\xe3\x81\x8c"
                             "\xe6\xb5\x81\xe3\x82\x8c\xe3\x82\x8b\xe3\x80\x82 Every line ends here.\n",
                             30LL * 1024 * 1024);
    if (kind == QLatin1String("tags"))
        return writeRepeated(path, "<b>A hundred bytes of page hold two of its tags, one opening and one closing, "
                                   "and many words!!!!</b>",
                             0, 100000);
    return writeRepeated(path,
                         "<p class=\"news\">The quick brown fox jumps over the <b>lazy</b> dog.</p>\r\n",
                         100LL * 1000 * 1000);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString kind = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("page");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.html"));
    if (!dir.isValid() || !writeFile(kind, path)) {
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
        std::printf("%s file: %.1f MB; first scrolled step after %.0f ms; longest gap between the "
                    "panel's 5 ms timer ticks while loading: %.0f ms; %d steps in the second "
                    "after\n",
                    qPrintable(kind), size / 1e6, ms(firstStep - start), ms(longestGap), steps);
        const bool answered = longestGap <= std::chrono::milliseconds(100);
        const bool soon = firstStep - start <= std::chrono::milliseconds(1500);
        const long peak = peakRssKiB();
        // What the load itself takes: the peak over what the process held before it.
        const double grown = (peak - baseKiB) * 1024.0;
        std::printf("peak resident memory: %.1f MB, %.1f MB before the load; the load took "
                    "%.1f MB, %.2f x the file; target <= 4 x\n",
                    peak * 1024.0 / 1e6, baseKiB * 1024.0 / 1e6, grown / 1e6,
                    grown / static_cast<double>(size));
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
        const bool small = grown <= 4.0 * static_cast<double>(size);
        std::printf("targets: gap <= 100 ms %s, first step <= 1.5 s %s, memory <= 4 x %s\n",
                    answered ? "met" : "MISSED", soon ? "met" : "MISSED", small ? "met" : "MISSED");
        std::fflush(stdout);
        std::_Exit(answered && soon && small ? 0 : 1);
    });
    return app.exec();
}
