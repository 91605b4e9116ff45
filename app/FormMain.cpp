#include "app/FormMain.h"

#include "toolkit/App.h"
#include "toolkit/Checked.h"
#include "toolkit/Conversion.h"
#include "toolkit/Events.h"
#include "toolkit/Lifecycle.h"
#include "toolkit/Prompts.h"
#include "util/CCtrlFlavors.h"
#include "util/CRForm.h"
#include "util/modMove.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {

// The panel's own icon, also the application's: a small grey panel with
// three rows of dark dashes.
const char* const kPanelIcon[] = {
    "16 16 5 1",        "  c None",         ". c #404040",      "w c #FFFFFF",
    "g c #C0C0C0",      "d c #202020",      "                ", " .............. ",
    " .wwwwwwwwwwww. ", " .wggggggggggg. ", " .wggggggggggg. ", " .wgddgddgddgg. ",
    " .wggggggggggg. ", " .wggggggggggg. ", " .wgddgddgddgg. ", " .wggggggggggg. ",
    " .wggggggggggg. ", " .wgddgddgddgg. ", " .wggggggggggg. ", " .wggggggggggg. ",
    " .............. ", "                ",
};

// The inner area below the menu bar, as the panel was designed.
constexpr float kInnerWidth = 3915;
constexpr float kInnerHeight = 2505;
constexpr float kExpandedHeight = 3000;

std::vector<std::shared_ptr<FormMain>>& loadedPanels() {
    static std::vector<std::shared_ptr<FormMain>> panels;
    return panels;
}

// A typed speed or timing: taken by its absolute value, rounded halves to
// even, unless it is beyond the bar's maximum; the caret goes to the end.
void takeTypedValue(toolkit::HScrollBar& bar, toolkit::TextBox& box) {
    const double v = std::fabs(toolkit::Val(box.Text()));
    if (v > bar.Max())
        return;
    bar.SetValue(toolkit::RoundToInt16(v));
    // The end of the text as it is now: a new value has rewritten it.
    box.SetSelStart(static_cast<int32_t>(box.Text().size()));
}

} // namespace

// A fixed panel that can be minimised, not maximised.
FormMain::FormMain() : toolkit::Window({.Sizable = false, .MaxButton = false}) {
    SetCaption(QStringLiteral("vorn2"));
    SetIcon(kPanelIcon);
    SetApplicationIcon(kPanelIcon);
    SetStartUpPosition(toolkit::vbStartUpScreen);
    createWidgets();
    createMenus();
    SetClientSize(kInnerWidth, kInnerHeight);
    OnQueryUnload = std::bind_front(&FormMain::Form_QueryUnload, this);
    OnUnload = [this] {
        Form_Unload();
        // The last reference may go with the list's, and with it the panel: this one holds it.
        const auto keep = weak_from_this().lock();
        std::erase_if(loadedPanels(), [this](const auto& p) { return p.get() == this; });
    };
    m_HScrollSpeed->OnChange = [this] { HScrollSpeed_Change(); };
    m_HScrollTiming->OnChange = [this] { HScrollTiming_Change(); };
    m_TextSpeed->OnChange = [this] { TextSpeed_Change(); };
    m_TextTiming->OnChange = [this] { TextTiming_Change(); };
    m_btnFF->OnMouseDown = std::bind_front(&FormMain::btnFF_MouseDown, this);
    m_btnFF->OnMouseUp = std::bind_front(&FormMain::btnFF_MouseUp, this);
    Form_Initialize();
}

FormMain::~FormMain() {
    // No error may leave a destructor; the end of the application must come.
    toolkit::Dispatch([this] { Form_Terminate(); });
}

void FormMain::createWidgets() {
    using namespace toolkit;
    m_Frame1 = Placed<Frame>(*this, 405, 510, 3000, 1500);
    m_Frame1->SetCaption(QStringLiteral("Speed Control"));

    m_Label3 = Placed<Label>(*m_Frame1, 300, 200, 210, 180);
    m_Label3->SetCaption(QStringLiteral("FF"));

    m_btnFF = Placed<CommandButton>(*m_Frame1, 300, 400, 600, 300);
    m_btnFF->SetCaption(QStringLiteral("l>l>"));

    m_Label1 = Placed<Label>(*m_Frame1, 1200, 200, 465, 180);
    m_Label1->SetCaption(QStringLiteral("Speed"));

    m_HScrollSpeed = Placed<HScrollBar>(*m_Frame1, 1200, 400, 900, 300);
    m_HScrollSpeed->SetMax(100);

    m_TextSpeed = Placed<TextBox>(*m_Frame1, 2100, 400, 600, 300);

    m_Label2 = Placed<Label>(*m_Frame1, 1200, 825, 510, 180);
    m_Label2->SetCaption(QStringLiteral("Timing"));

    m_HScrollTiming = Placed<HScrollBar>(*m_Frame1, 1200, 1000, 900, 300);
    m_HScrollTiming->SetMax(100);

    m_TextTiming = Placed<TextBox>(*m_Frame1, 2100, 1000, 600, 300);

    // The face the panel was designed in; its widths fit the captions.
    StdFont font = Font();
    font.Name = QStringLiteral("ＭＳ Ｐゴシック");
    font.Size = 9;
    font.Charset = kCharsetShiftJis;
    SetFont(font);
    // In the order of their tab indices, 0 to 8.
    const std::vector<Control*> tabOrder(
        {m_Frame1.get(), m_TextTiming.get(), m_TextSpeed.get(), m_HScrollTiming.get(),
         m_HScrollSpeed.get(), m_Label2.get(), m_Label1.get(), m_btnFF.get(), m_Label3.get()});
    for (Control* c : tabOrder)
        c->SetFont(font);
    ApplyTabOrder(tabOrder);
}

// The menus, each item with its caption and the handler its choice runs.
void FormMain::createMenus() {
    using toolkit::MenuItem;
    const auto item = [this](MenuItem& parent, const char* caption, void (FormMain::*handler)()) {
        auto made = std::make_unique<MenuItem>(parent, QString::fromUtf8(caption));
        if (handler)
            made->OnClick = std::bind_front(handler, this);
        return made;
    };
    m_mnuFile = std::make_unique<MenuItem>(*this, QStringLiteral("File(&F)"));
    m_mnuFileLocal = item(*m_mnuFile, "Local(&L)...", &FormMain::mnuFileLocal_Click);
    m_mnuFileLocalReload =
        item(*m_mnuFile, "Local Reload(&R)", &FormMain::mnuFileLocalReload_Click);
    m_mnuFileLocalReload->SetEnabled(false);
    m_mnuFileWeb = item(*m_mnuFile, "Web(&W)...", &FormMain::mnuFileWeb_Click);
    m_mnuFileWebReload = item(*m_mnuFile, "Web Reload(&R)", &FormMain::mnuFileWebReload_Click);
    m_mnuFileWebReload->SetEnabled(false);
    m_mnuVornHR01 = item(*m_mnuFile, "-", nullptr);
    m_mnuFileQuit = item(*m_mnuFile, "Quit(&Q)", &FormMain::mnuFileQuit_Click);

    m_mnuCtrl = std::make_unique<MenuItem>(*this, QStringLiteral("Ctrl(&C)"));
    m_mnuCtrlPlay = item(*m_mnuCtrl, "Play(&P)", &FormMain::mnuCtrlPlay_Click);
    m_mnuCtrlStop = item(*m_mnuCtrl, "Stop(&S)", &FormMain::mnuCtrlStop_Click);
    m_mnuCtrlPause = item(*m_mnuCtrl, "Pause(&U)", &FormMain::mnuCtrlPause_Click);

    m_mnuOption = std::make_unique<MenuItem>(*this, QStringLiteral("Option(&O)"));
    m_mnuOptionFont = item(*m_mnuOption, "Font(&F)...", &FormMain::mnuOptionFont_Click);
    m_mnuOptionFontColor =
        item(*m_mnuOption, "Font Color(&C)...", &FormMain::mnuOptionFontColor_Click);
    m_mnuOptionBackColor =
        item(*m_mnuOption, "Back Color(&B)...", &FormMain::mnuOptionBackColor_Click);
    m_mnuOptionHR01 = item(*m_mnuOption, "-", nullptr);
    m_mnuOptionZOrder = item(*m_mnuOption, "Z Order(&Z)", &FormMain::mnuOptionZOrder_Click);
    m_mnuOptionStartUpPosition =
        item(*m_mnuOption, "StartUp Position(&S)", &FormMain::mnuOptionStartUpPosition_Click);
    m_mnuOptionPanel = item(*m_mnuOption, "Panel(&P)", &FormMain::mnuOptionPanel_Click);
    m_mnuOptionHR02 = item(*m_mnuOption, "-", nullptr);
    m_mnuOptionHideMenu = item(*m_mnuOption, "Hide Menu(&H)", &FormMain::mnuOptionHideMenu_Click);
    m_mnuOptionHideVorn = item(*m_mnuOption, "Hide Vorn(&M)", &FormMain::mnuOptionHideVorn_Click);

    m_mnuAbout = std::make_unique<MenuItem>(*this, QStringLiteral("About(&A)"));
    m_mnuAboutMe = item(*m_mnuAbout, "Me(&M)...", &FormMain::mnuAboutMe_Click);
}

std::vector<std::shared_ptr<FormMain>> FormMain::LoadedPanels() {
    return loadedPanels();
}

void FormMain::Load() {
    if (m_blnFormLoaded)
        return;
    m_blnFormLoaded = true;
    loadedPanels().push_back(std::static_pointer_cast<FormMain>(shared_from_this()));
    Form_Load();
}

void FormMain::Form_Initialize() {
    csqc = std::make_shared<CSQCtrl>();
    csqc->SetListener(this);
    m_frmMarquee = csqc->Form();
    m_clsRForm = std::make_shared<CRForm>();
    m_clsRForm->SetFormName(m_frmMarquee);
    m_clsCtrlFlavors = std::make_shared<CCtrlFlavors>();
    m_clsCtrlFlavors->SetCRF(m_clsRForm);
}

void FormMain::Form_Load() {
    csqc->Show(*this);
    mnuOptionStartUpPosition_Click();
    m_mnuOptionPanel->SetChecked(true);
    mnuOptionPanel_Click();
    m_HScrollSpeed->SetValue(csqc->Speed());
    HScrollSpeed_Change();
    m_HScrollTiming->SetValue(csqc->Timing());
    HScrollTiming_Change();
}

void FormMain::Form_QueryUnload(int16_t& Cancel, int16_t /*UnloadMode*/) {
    if (toolkit::MsgBox(QStringLiteral("Quit ?"), toolkit::vbYesNo + toolkit::vbDefaultButton2,
                        toolkit::AppTitle()) == toolkit::vbNo)
        Cancel = 1;
}

void FormMain::Form_Terminate() {
    m_frmMarquee.reset();
    // A scroll loop still running holds the controller beyond this panel.
    csqc->SetListener(nullptr);
    csqc.reset();
    toolkit::EndApplication();
}

void FormMain::HScrollSpeed_Change() {
    const int16_t value = m_HScrollSpeed->Value();
    csqc->SetSpeed(value);
    m_TextSpeed->SetText(QString::number(value));
}

void FormMain::HScrollTiming_Change() {
    const int16_t value = m_HScrollTiming->Value();
    csqc->SetTiming(value);
    m_TextTiming->SetText(QString::number(value));
}

void FormMain::mnuOptionStartUpPosition_Click() {
    m_frmMarquee->SetWidth(static_cast<float>(m_clsCtrlFlavors->DeskTopWidth()));
    m_clsCtrlFlavors->Form2DPosition(pos2DBottomLeft);
}

void FormMain::mnuOptionPanel_Click() {
    m_mnuOptionPanel->SetChecked(!m_mnuOptionPanel->Checked());
    SetHeight(m_mnuOptionPanel->Checked() ? kExpandedHeight : Height() - ScaleHeight());
}

void FormMain::mnuCtrlPlay_Click() {
    m_HScrollSpeed->SetValue(1);
    m_HScrollTiming->SetValue(0);
    csqc->Scroll(true, QString());
}

void FormMain::mnuCtrlPause_Click() {
    m_mnuCtrlPause->SetChecked(!m_mnuCtrlPause->Checked());
    m_HScrollSpeed->SetValue(m_mnuCtrlPause->Checked() ? 0 : 1);
    m_HScrollTiming->SetValue(0);
}

void FormMain::TextSpeed_Change() {
    takeTypedValue(*m_HScrollSpeed, *m_TextSpeed);
}

void FormMain::TextTiming_Change() {
    takeTypedValue(*m_HScrollTiming, *m_TextTiming);
}

void FormMain::btnFF_MouseDown(int16_t&, int16_t&, float&, float&) {
    csqc->SetSpeed(toolkit::Mul16(csqc->Speed(), 4));
    csqc->SetTiming(toolkit::Mul16(csqc->Timing(), 4));
}

void FormMain::btnFF_MouseUp(int16_t&, int16_t&, float&, float&) {
    csqc->SetSpeed(toolkit::RoundToInt16(csqc->Speed() / 4.0));
    csqc->SetTiming(toolkit::RoundToInt16(csqc->Timing() / 4.0));
}

void FormMain::csqc_MouseDown(int16_t& Button) {
    // The drag lets events in, and one of them may unload the panel.
    const auto keep = weak_from_this().lock();
    if (Button == toolkit::vbLeftButton) {
        modMove::DragWindow(m_frmMarquee->hwnd());
        m_clsCtrlFlavors->InsideDeskTop();
    }
    if (!Visible())
        SetVisible(true);
}
