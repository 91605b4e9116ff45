#include "app/ModuleMain.h"
#include "toolkit/Events.h"
#include "toolkit/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    toolkit::PrepareApplication();
    QApplication app(argc, argv);
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
    return QApplication::exec();
}
