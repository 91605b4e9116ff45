#include "toolkit/Shell.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace toolkit {

static constinit std::shared_ptr<ShellSeam> installed;

int32_t ShellExecute(int32_t hwnd, const QString& verb, const QString& file,
                     const QString& parameters, const QString& directory, int16_t showCmd) {
    // A copy, so that the shell may be replaced while a request runs.
    if (const std::shared_ptr<ShellSeam> shell = installed)
        return shell->ShellExecute(hwnd, verb, file, parameters, directory, showCmd);
    // The desktop's own "open": xdg-open or the desktop's portal, through Qt.
    if (verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) != 0)
        return SE_ERR_NOASSOC;
    // An empty or blank target gives no valid address either.
    const QUrl url = QUrl::fromUserInput(file);
    if (!url.isValid())
        return SE_ERR_FNF;
    return QDesktopServices::openUrl(url) ? kShellExecuteDone : SE_ERR_NOASSOC;
}

std::shared_ptr<ShellSeam> SetShell(std::shared_ptr<ShellSeam> shell) {
    return std::exchange(installed, std::move(shell));
}

} // namespace toolkit
