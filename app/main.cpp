#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "toolkit/App.h"
#include "toolkit/Events.h"

#include <QApplication>

#include <cstdio>

namespace {

// Hands the file or address of the command line to the panel, from the event loop once the
// panel is up, as the File menu would: its load runs the scroll and returns only at a stop.
void openSource(const CommandLine::Request& request) {
    toolkit::PostToDispatch([request] {
        for (const auto& panel : FormMain::LoadedPanels()) {
            // Set before the load, which returns only when the scroll stops; a first read
            // that fails leaves the schedule to try again.
            panel->SetReloadMinutes(request.reloadMinutes);
            if (request.kind == CommandLine::SourceKind::File)
                panel->OpenLocalFile(request.source);
            else
                panel->OpenWebAddress(request.source);
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine::Request request = CommandLine::Parse(CommandLine::Arguments(argc, argv));
    if (request.outcome != CommandLine::Outcome::Run) {
        std::FILE* out = request.outcome == CommandLine::Outcome::Bad ? stderr : stdout;
        std::fputs(request.text.toLocal8Bit().constData(), out);
        return CommandLine::ExitStatus(request.outcome);
    }

    toolkit::PrepareApplication();
    // The arguments were read above; Qt is given none, so that no file name is ever taken
    // for one of its own options.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    toolkit::InitApplication();
    // The panel decides when the application ends, also while it is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    bool started = false;
    toolkit::Dispatch([&] {
        ModuleMain::Main();
        started = true;
    });
    if (!started)
        return 1;
    if (request.kind != CommandLine::SourceKind::None)
        openSource(request);
    return QApplication::exec();
}
