#include "app/FormMain.h"

#include "app/ModuleMain.h"
#include "toolkit/App.h"
#include "toolkit/HttpFetch.h"
#include "toolkit/Prompts.h"
#include "util/CFileStream.h"

// What "Local(&L)..." does once its Open dialog has given a name: the reader takes it as its
// Path whether or not it can be read, a failed read is reported and changes nothing else,
// and a good one enables "Local Reload(&R)" and scrolls the cleaned text.
void FormMain::OpenLocalFile(const QString& path) {
    const auto keep = weak_from_this().lock();
    if (!m_clsFileStream)
        m_clsFileStream = std::make_shared<CFileStream>();
    m_clsFileStream->SetPath(path);
    QString text = m_clsFileStream->Ascii();
    if (m_clsFileStream->Error()) {
        toolkit::MsgBox(QStringLiteral("ファイルがバイナリか、破損しています。"),
                        toolkit::vbOKOnly, toolkit::AppTitle());
        return;
    }
    m_mnuFileLocalReload->SetEnabled(true);
    ModuleMain::ReplaceNewLine(text, QStringLiteral(" "));
    ModuleMain::StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    csqc->Scroll(true, text);
}

// What "Web(&W)..." does once its input box has given an address: the address is kept
// before the fetch, so a failed fetch (raised to the dispatch boundary, which reports it)
// still leaves it for "Web Reload(&R)"; only a fetch that returns enables that item.
void FormMain::OpenWebAddress(const QString& address) {
    const auto keep = weak_from_this().lock();
    m_strURL = address;
    // The panel's own fetch component comes with the File commands; until then a component
    // of the same kind, with its 60 s request time-out, does the fetch.
    toolkit::Inet inet;
    QString text = inet.OpenURL(m_strURL);
    m_mnuFileWebReload->SetEnabled(true);
    ModuleMain::ReplaceNewLine(text, QStringLiteral(" "));
    ModuleMain::StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    csqc->Scroll(true, text);
}
