// Shows the real strip at its standard place, the bottom of the desktop, and
// scrolls the text of a file through it at a given Speed, Timing and font
// size, until it is closed or killed. Used by strip_motion.sh, which measures
// the motion from the outside.
//   strip_show FILE [--speed N] [--timing N] [--font-size PT]
// Prints "filled" once the text has reached the strip's left edge.
#include "marquee/CSQCtrl.h"
#include "support/Overrides.h"
#include "toolkit/App.h"
#include "toolkit/Events.h"
#include "toolkit/Window.h"
#include "util/CCtrlFlavors.h"
#include "util/CRForm.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

struct Options {
    QString file;
    int16_t speed = 1;
    int16_t timing = 0;
    float fontSize = 0; // 0: the window's default font
};

bool parse(const QStringList& args, Options& o) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--speed") && hasValue)
            o.speed = static_cast<int16_t>(args[++i].toShort(&ok));
        else if (a == QLatin1String("--timing") && hasValue)
            o.timing = static_cast<int16_t>(args[++i].toShort(&ok));
        else if (a == QLatin1String("--font-size") && hasValue)
            o.fontSize = args[++i].toFloat(&ok);
        else if (o.file.isEmpty() && !a.startsWith(QLatin1String("--")))
            o.file = a;
        else
            return false;
        if (!ok)
            return false;
    }
    return !o.file.isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    toolkit::PrepareApplication();
    QApplication app(argc, argv);
    toolkit::InitApplication();
    Options o;
    if (!parse(QCoreApplication::arguments(), o)) {
        std::fprintf(stderr, "usage: strip_show FILE [--speed N] [--timing N] [--font-size PT]\n");
        return 2;
    }
    QFile file(o.file);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "strip_show: cannot read %s\n", qPrintable(o.file));
        return 1;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));

    toolkit::Window owner;
    auto csqc = std::make_shared<CSQCtrl>();
    const std::shared_ptr<FormSQMain> strip = csqc->Form();
    auto record = std::make_shared<CRForm>();
    record->SetFormName(strip);
    CCtrlFlavors flavors;
    flavors.SetCRF(record);
    CSQCtrl* controller = csqc.get();
    strip->OnUnload = [controller] {
        controller->Scroll(false, QString());
        QCoreApplication::quit();
    };

    toolkit::Dispatch([&] {
        if (o.fontSize > 0)
            strip->SetFontSize(o.fontSize);
        csqc->Show(owner);
        strip->SetWidth(static_cast<float>(flavors.DeskTopWidth()));
        flavors.Form2DPosition(pos2DBottomLeft);
        csqc->SetSpeed(o.speed);
        csqc->SetTiming(o.timing);
    });
    bool filled = false;
    std::optional<testsupport::ScopedYieldHook> hook;
    hook.emplace([&] {
        if (!filled && controller->Fuel() && strip->TextVorn(0).Left() <= 0) {
            filled = true;
            std::printf("filled\n");
            std::fflush(stdout);
        }
    });
    toolkit::PostToDispatch([csqc, text] { csqc->Scroll(true, text); });
    const int rc = app.exec();
    hook.reset();
    toolkit::Dispatch([&] { csqc->Unload(); });
    return rc;
}
