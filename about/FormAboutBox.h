#pragma once

#include "toolkit/CommandButton.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/MultiLineTextBox.h"
#include "toolkit/Window.h"

#include <QString>

#include <memory>

// The About dialog: the application's title, version and copyright string, a
// report text, the owner's icon and a button that opens the maker's web page.
// Its labels are filled when it is created; "OK", Enter, Escape and the window's
// close box unload it, which ends a modal show. "Web" stays disabled until a
// caller enables it.
class FormAboutBox : public toolkit::Window {
public:
    FormAboutBox();

    // The address that "Web" opens.
    QString URL;

    toolkit::MultiLineTextBox& TextReport() { return *m_TextReport; }
    toolkit::CommandButton& btnWeb() { return *m_btnWeb; }
    toolkit::CommandButton& btnOK() { return *m_btnOK; }
    toolkit::Label& LabelTitle() { return *m_LabelTitle; }
    toolkit::Label& LabelCopyright() { return *m_LabelCopyright; }
    toolkit::Image& ImageIcon() { return *m_ImageIcon; }
    toolkit::Label& LabelVersion() { return *m_LabelVersion; }

    // Handlers, public so that tests can run them as the user would.
    void Form_Load();
    void btnOK_Click() { Unload(); }
    void btnWeb_Click();

private:
    std::unique_ptr<toolkit::MultiLineTextBox> m_TextReport;
    std::unique_ptr<toolkit::CommandButton> m_btnWeb, m_btnOK;
    std::unique_ptr<toolkit::Label> m_LabelTitle, m_LabelCopyright, m_LabelVersion;
    std::unique_ptr<toolkit::Image> m_ImageIcon;
};
