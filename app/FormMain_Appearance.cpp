#include "app/FormMain.h"

#include "about/CAboutBox.h"
#include "util/CCtrlFlavors.h"

// The Option commands for the strip's look and the windows' places, and the
// About command.

void FormMain::mnuOptionFont_Click() {
    toolkit::CommonDialog& dialog = *m_CommonDialogMain;
    dialog.SetFontBold(m_frmMarquee->FontBold());
    dialog.SetFontItalic(m_frmMarquee->FontItalic());
    dialog.SetFontName(m_frmMarquee->FontName());
    dialog.SetFontSize(m_frmMarquee->FontSize());
    dialog.SetFontStrikethru(m_frmMarquee->FontStrikethru());
    dialog.SetFontUnderline(m_frmMarquee->FontUnderline());
    dialog.SetFlags(toolkit::cdlCFBoth);
    dialog.ShowFont();
    // After a cancel the dialog still holds what it was given, so this changes nothing.
    m_frmMarquee->SetFontBold(dialog.FontBold());
    m_frmMarquee->SetFontItalic(dialog.FontItalic());
    m_frmMarquee->SetFontName(dialog.FontName());
    m_frmMarquee->SetFontSize(dialog.FontSize());
    m_frmMarquee->SetFontStrikethru(dialog.FontStrikethru());
    m_frmMarquee->SetFontUnderline(dialog.FontUnderline());
    csqc->Refresh();
    // A taller strip may now reach below the desktop.
    m_clsCtrlFlavors->InsideDeskTop();
}

void FormMain::mnuOptionFontColor_Click() {
    m_CommonDialogMain->SetColor(m_frmMarquee->ForeColor());
    m_CommonDialogMain->ShowColor();
    m_frmMarquee->SetForeColor(m_CommonDialogMain->Color());
    csqc->Refresh();
}

void FormMain::mnuOptionBackColor_Click() {
    m_CommonDialogMain->SetColor(m_frmMarquee->BackColor());
    m_CommonDialogMain->ShowColor();
    m_frmMarquee->SetBackColor(m_CommonDialogMain->Color());
    csqc->Refresh();
}

void FormMain::mnuOptionZOrder_Click() {
    m_mnuOptionZOrder->SetChecked(!m_mnuOptionZOrder->Checked());
    // A stacking change that fails leaves the strip as it was; the mark still says what was asked.
    static_cast<void>(m_clsCtrlFlavors->Form3DPosition(
        m_mnuOptionZOrder->Checked() ? pos3DTopMost : pos3DNoTopMost));
}

void FormMain::mnuAboutMe_Click() {
    const auto about = std::make_unique<CAboutBox>();
    about->SetReport(QStringLiteral("This Software Distributed By \r\n\r\nKestrix"));
    // The maker's web page, which "Web" opens.
    about->SetURL(QStringLiteral("https://vorn2.example.org/"));
    about->Show(*this);
}
