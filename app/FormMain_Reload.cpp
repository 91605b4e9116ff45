#include "app/FormMain.h"

#include "app/CommandLine.h"
#include "app/ModuleMain.h"
#include "toolkit/App.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "util/CFileStream.h"

#include <QScopedValueRollback>
#include <QTimer>

#include <cstdio>

// The reload schedule of the command line's --reload. Each turn reads the file or address
// named last, as "Local Reload(&R)" or "Web Reload(&R)" would, but hands a changed text to
// the controller to take over after the current pass, so that nobody sees a text cut off in
// the middle; an unchanged one changes nothing. Nobody waits for a turn, so a failure is
// only written to standard error, once, and the next turn tries again.

namespace {

void reportFailure(const QString& what) {
    const QString line = QStringLiteral("%1: scheduled reload: %2\n").arg(toolkit::AppTitle(), what);
    // Standard error is never fully buffered, and the line ends with a line break.
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

// Whether the text is the one the strip shows, or will show after this pass.
bool shows(const CSQCtrl& csqc, const QString& text) {
    return (csqc.Queued().isEmpty() ? csqc.LoadedText() : csqc.Queued()) == text;
}

} // namespace

void FormMain::SetReloadMinutes(int minutes) {
    if (minutes < 0 || minutes > CommandLine::kMaxReloadMinutes)
        throw toolkit::Error::InvalidPropertyValue();
    if (minutes == 0) {
        m_reloadTimer.reset();
        return;
    }
    if (!m_reloadTimer) {
        m_reloadTimer = std::make_shared<QTimer>();
        // A turn runs as a handler of its own, so that a scroll it starts does not hold the
        // timer (which does not fire again while its own notification runs).
        QObject::connect(m_reloadTimer.get(), &QTimer::timeout, [weak = weak_from_this()] {
            toolkit::PostToDispatch([weak] {
                if (const auto panel = std::static_pointer_cast<FormMain>(weak.lock()))
                    panel->ReloadNow();
            });
        });
    }
    m_reloadTimer->start(std::chrono::minutes(minutes));
}

int FormMain::ReloadMinutes() const {
    return m_reloadTimer ? m_reloadTimer->interval() / 60000 : 0;
}

void FormMain::ReloadNow() {
    // A turn that comes while the last one or the Web command still waits for its page is
    // left out.
    if (!Loaded() || m_blnFetching || m_lastSource == Source::None)
        return;
    const auto keep = weak_from_this().lock();
    const uint64_t handOvers = m_handOvers;
    const bool web = m_lastSource == Source::Web;
    const QString source = web ? m_strURL : m_clsFileStream->Path();
    QString text;
    {
        // Held until the page or file is read, whatever the read throws.
        const QScopedValueRollback fetching(m_blnFetching, true);
        try {
            if (web) {
                text = ModuleMain::WebStripText(m_InetMain->OpenDocument(source));
            } else {
                // A failed read gives no text, which changes nothing below.
                text = m_clsFileStream->Ascii();
                if (m_clsFileStream->Error())
                    reportFailure(
                        QStringLiteral("Could not read %1: it is missing, binary or damaged.")
                            .arg(source));
                CleanText(text);
            }
        } catch (const std::exception& e) {
            reportFailure(toolkit::ErrorText(e));
        }
    }
    // A text that is empty, the same, or overtaken by a load meanwhile changes nothing.
    if (!Loaded() || text.isEmpty() || handOvers != m_handOvers || shows(*csqc, text))
        return;
    // Nothing shown yet (the first read failed): the text starts as a load would start it.
    if (csqc->SegmentCount() == 0)
        return HandOver(text);
    csqc->Queue(text);
}
