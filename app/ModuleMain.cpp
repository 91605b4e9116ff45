#include "app/ModuleMain.h"

#include "app/FormMain.h"
#include "toolkit/App.h"
#include "toolkit/Lifecycle.h"

#include <memory>

namespace ModuleMain {

QString TitleAndVersion() {
    return toolkit::AppTitle() + QLatin1Char(' ') + QString::number(toolkit::AppMajor()) +
           QLatin1Char('.') + QString::number(toolkit::AppMinor());
}

void Main() {
    // A logout cannot wait for an answer to "Quit ?".
    toolkit::OnTerminationSignal([] {
        for (const auto& panel : FormMain::LoadedPanels())
            panel->EndWithoutAsking();
        toolkit::EndApplication();
    });
    auto panel = std::make_shared<FormMain>();
    panel->Load();
    panel->SetCaption(TitleAndVersion());
    panel->Show(toolkit::vbModeless, nullptr);
}

} // namespace ModuleMain
