#include "marquee/CSQCtrl.h"
#include "toolkit/Events.h"
#include "toolkit/Startup.h"
#include "toolkit/Window.h"

#include <QApplication>

#include <memory>

namespace {

// Shown until the control panel takes over: mixed scripts, to show that the
// strip draws both.
const char16_t kBuiltInLine[] =
    u"vorn2 — a desktop text marquee.  デスクトップの下端を流れる一行のテキスト。  "
    u"Text from a local file or a web page scrolls here without end.";

} // namespace

int main(int argc, char** argv) {
    toolkit::PrepareApplication();
    QApplication app(argc, argv);
    toolkit::InitApplication();

    toolkit::Window owner;
    auto csqc = std::make_shared<CSQCtrl>();
    auto strip = csqc->Form();
    CSQCtrl* controller = csqc.get();
    strip->OnUnload = [controller] {
        controller->Scroll(false, QString());
        QCoreApplication::quit();
    };
    csqc->Show(owner);
    strip->SetWidth(strip->Width() * 4);
    csqc->Refresh();

    toolkit::PostToDispatch([csqc] { csqc->Scroll(true, QString::fromUtf16(kBuiltInLine)); });
    const int rc = app.exec();
    csqc->Unload();
    return rc;
}
