#include "app/FormMain.h"

#include "app/ModuleMain.h"
#include "toolkit/App.h"
#include "toolkit/Prompts.h"
#include "util/CFileStream.h"

#include <QScopedValueRollback>

// The File commands that load text: a local file, a web address, and the reload of each.
// Each hands its cleaned text to the controller as its last step; the call returns only when
// the scroll stops. A dialog, a fetch or a long cleanup lets other handlers run; if one of
// them unloaded the panel meanwhile, the command ends there instead of starting the strip
// again.

void FormMain::mnuFileLocal_Click() {
    // The dialog starts from the file named last, if any.
    m_CommonDialogMain->SetFileName(m_clsFileStream ? m_clsFileStream->Path() : QString());
    m_CommonDialogMain->ShowOpen();
    if (!Loaded())
        return;
    const QString strFileName = m_CommonDialogMain->FileName();
    if (!strFileName.isEmpty())
        OpenLocalFile(strFileName);
}

// The reader, made the first time a file is named, takes the name as its Path whether or not
// it can be read; a failed read is reported and changes nothing else. The command line comes
// in here too.
void FormMain::OpenLocalFile(const QString& path) {
    const auto keep = weak_from_this().lock();
    if (!m_clsFileStream)
        m_clsFileStream = std::make_shared<CFileStream>();
    m_clsFileStream->SetPath(path);
    m_lastSource = Source::File;
    QString strText = m_clsFileStream->Ascii();
    if (m_clsFileStream->Error()) {
        // "The file is binary or damaged."
        toolkit::MsgBox(QStringLiteral("ファイルがバイナリか、破損しています。"), toolkit::vbOKOnly,
                        toolkit::AppTitle());
        return;
    }
    m_mnuFileLocalReload->SetEnabled(true);
    CleanText(strText);
    HandOver(strText);
}

void FormMain::mnuFileLocalReload_Click() {
    if (!m_clsFileStream || m_clsFileStream->Path().isEmpty())
        return;
    m_lastSource = Source::File;
    QString strText = m_clsFileStream->Ascii();
    CleanText(strText);
    HandOver(strText);
}

void FormMain::mnuFileWeb_Click() {
    const QString strURL = toolkit::InputBox(QStringLiteral("URL ?"), toolkit::AppTitle(), m_strURL);
    if (Loaded() && !strURL.isEmpty())
        OpenWebAddress(strURL);
}

// The address is kept before the fetch, so a failed fetch (raised to the dispatch boundary,
// which reports it) still leaves it for "Web Reload(&R)"; only a fetch that returns enables
// that item. The command line comes in here too.
void FormMain::OpenWebAddress(const QString& address) {
    const auto keep = weak_from_this().lock();
    m_strURL = address;
    m_lastSource = Source::Web;
    QString strText;
    try {
        // A scheduled turn meanwhile would fetch inside this fetch's wait, and a text it started
        // there would keep this command from returning until the scroll stops.
        const QScopedValueRollback fetching(m_blnFetching, true);
        // The page itself is let go before its text scrolls.
        const toolkit::WebDocument document = m_InetMain->OpenDocument(m_strURL);
        if (!Loaded())
            return;
        m_mnuFileWebReload->SetEnabled(true);
        strText = ModuleMain::WebStripText(document);
    } catch (const toolkit::FetchError& e) {
        // A cancel is the user's choice: the command ends as after a failed fetch, without a
        // message. Every other failure goes on to the dispatch boundary, which reports it.
        if (e.Failure() != toolkit::FetchFailure::Cancelled)
            throw;
        return;
    }
    HandOver(strText);
}

// The same address again, as "Web(&W)..." takes it; the item is enabled already, as only a
// fetch that returned enables it.
void FormMain::mnuFileWebReload_Click() {
    if (!m_strURL.isEmpty())
        OpenWebAddress(m_strURL);
}

void FormMain::HandOver(const QString& text) {
    if (!Loaded())
        return;
    ++m_handOvers;
    csqc->Scroll(true, text);
}

void FormMain::CleanText(QString& rstrText) {
    ModuleMain::ReplaceNewLine(rstrText, QStringLiteral(" "));
    ModuleMain::StripEnclosed(rstrText, QStringLiteral("<"), QStringLiteral(">"));
}
