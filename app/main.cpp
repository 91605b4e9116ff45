#include "marquee/CSQCtrl.h"
#include "toolkit/Events.h"
#include "toolkit/Startup.h"
#include "toolkit/Window.h"
#include "util/CCtrlFlavors.h"
#include "util/CRForm.h"
#include "util/modMove.h"

#include <QApplication>

#include <memory>

namespace {

// Shown until the control panel takes over: mixed scripts, to show that the
// strip draws both.
const char16_t kBuiltInLine[] =
    u"vorn2 — a desktop text marquee.  デスクトップの下端を流れる一行のテキスト。  "
    u"Text from a local file or a web page scrolls here without end.";

// Until the control panel exists: a left-button press drags the strip and
// pulls it back inside the desktop.
class StripMouse : public CSQCtrlEvents {
public:
    StripMouse(std::shared_ptr<FormSQMain> strip, CCtrlFlavors& flavors)
        : m_strip(std::move(strip)), m_flavors(flavors) {}
    void MouseDown(int16_t& Button) override {
        if (Button != 1)
            return;
        modMove::DragWindow(m_strip->hwnd());
        m_flavors.InsideDeskTop();
    }
    void MouseMove(int16_t&) override {}
    void MouseUp(int16_t&) override {}

private:
    std::shared_ptr<FormSQMain> m_strip;
    CCtrlFlavors& m_flavors;
};

} // namespace

int main(int argc, char** argv) {
    toolkit::PrepareApplication();
    QApplication app(argc, argv);
    toolkit::InitApplication();

    toolkit::Window owner;
    auto csqc = std::make_shared<CSQCtrl>();
    const std::shared_ptr<FormSQMain> strip = csqc->Form();
    auto record = std::make_shared<CRForm>();
    record->SetFormName(strip);
    CCtrlFlavors flavors;
    flavors.SetCRF(record);
    StripMouse mouse(strip, flavors);
    csqc->SetListener(&mouse);

    CSQCtrl* controller = csqc.get();
    strip->OnUnload = [controller] {
        controller->Scroll(false, QString());
        QCoreApplication::quit();
    };

    // The strip's standard place: the desktop's whole width, at its bottom.
    toolkit::Dispatch([&] {
        csqc->Show(owner);
        strip->SetWidth(static_cast<float>(flavors.DeskTopWidth()));
        flavors.Form2DPosition(pos2DBottomLeft);
    });
    toolkit::PostToDispatch([csqc] { csqc->Scroll(true, QString::fromUtf16(kBuiltInLine)); });
    const int rc = app.exec();
    csqc->SetListener(nullptr);
    toolkit::Dispatch([&] { csqc->Unload(); });
    return rc;
}
