#include "about/FormAboutBox.h"

#include "toolkit/App.h"
#include "toolkit/Colors.h"
#include "toolkit/DialogFrame.h"
#include "toolkit/Picture.h"
#include "toolkit/Shell.h"
#include "toolkit/StdFont.h"

using toolkit::RGB;

namespace {

constexpr int32_t kWhite = RGB(255, 255, 255);
constexpr int32_t kBlack = RGB(0, 0, 0);

// A label of the column right of the icon, 1000 twips from the left and 3800 wide. Where its
// face is not installed, the substitutions made at start-up draw it with a Japanese gothic
// face that is.
std::unique_ptr<toolkit::Label> whiteLabel(toolkit::Window& window, const QString& caption,
                                           float size, float top, float height) {
    auto label = toolkit::Placed<toolkit::Label>(window, 1000, top, 3800, height);
    label->SetBackColor(kWhite);
    label->SetForeColor(kBlack);
    label->SetFont({.Name = QStringLiteral("ＭＳ Ｐゴシック"), .Size = size, .Bold = true,
                    .Charset = toolkit::kCharsetShiftJis});
    label->SetCaption(caption);
    return label;
}

} // namespace

FormAboutBox::FormAboutBox()
    : toolkit::Window({.Sizable = false, .MinButton = false, .MaxButton = false}) {
    toolkit::SetDialogFrame(*this);
    SetCaption(QStringLiteral("About..."));
    toolkit::SetNoIcon(*this);
    SetBackColor(kWhite);
    SetForeColor(kBlack);
    SetClientSize(4905, 2625);
    SetStartUpPosition(toolkit::vbStartUpScreen);

    m_TextReport = toolkit::Placed<toolkit::MultiLineTextBox>(*this, 1000, 900, 3800, 1300);
    m_TextReport->SetBackColor(kWhite);
    m_TextReport->SetForeColor(kBlack);
    m_TextReport->SetText(QStringLiteral("Report\r\n"));

    m_btnWeb = toolkit::Placed<toolkit::CommandButton>(*this, 50, 1700, 900, 400);
    m_btnWeb->SetCaption(QStringLiteral("Web"));
    m_btnWeb->SetEnabled(false);
    m_btnWeb->OnClick = [this] { btnWeb_Click(); };

    m_btnOK = toolkit::Placed<toolkit::CommandButton>(*this, 50, 2150, 900, 400);
    m_btnOK->SetCaption(QStringLiteral("OK"));
    // Enter and Escape both press "OK": the dialog only shows, so either key ends it.
    toolkit::SetDefaultButton(*m_btnOK);
    toolkit::SetCancelButton(*m_btnOK);
    m_btnOK->OnClick = [this] { btnOK_Click(); };

    m_LabelTitle = whiteLabel(*this, QStringLiteral("Title"), 20.25f, 50, 400);
    m_LabelCopyright = whiteLabel(*this, QStringLiteral("Copyright"), 9.0f, 2250, 300);

    m_ImageIcon = toolkit::Placed<toolkit::Image>(*this, 100, 100, 800, 800);

    m_LabelVersion = whiteLabel(*this, QStringLiteral("Version"), 9.0f, 500, 300);
    m_LabelVersion->SetAlignment(toolkit::vbRightJustify);

    // In the order of their tab indices, 0 to 5.
    toolkit::ApplyTabOrder({m_btnOK.get(), m_LabelVersion.get(), m_btnWeb.get(),
                            m_LabelCopyright.get(), m_TextReport.get(), m_LabelTitle.get()});
    m_btnOK->SetFocus();
    Form_Load();
}

void FormAboutBox::Form_Load() {
    m_LabelTitle->SetCaption(toolkit::AppTitle());
    m_LabelCopyright->SetCaption(toolkit::AppLegalCopyright());
    m_LabelVersion->SetCaption(QStringLiteral("Version %1.%2.(%3)")
                                   .arg(toolkit::AppMajor())
                                   .arg(toolkit::AppMinor())
                                   .arg(toolkit::AppRevision()));
}

void FormAboutBox::btnWeb_Click() {
    const int32_t desktop = toolkit::GetDesktopWindow();
    // Whether the desktop could open the address is not the dialog's concern.
    static_cast<void>(toolkit::ShellExecute(desktop, QStringLiteral("open"), URL, QString(),
                                            QString(), toolkit::SW_SHOWNORMAL));
}
