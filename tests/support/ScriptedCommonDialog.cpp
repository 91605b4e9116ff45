#include "ScriptedCommonDialog.h"

#include "toolkit/Error.h"

namespace testsupport {

template <typename T>
std::optional<T> ScriptedCommonDialog::show(std::deque<Answer<T>>& script, std::vector<T>& shown,
                                            const T& proposed, int32_t flags, const char* dialog) {
    shown.push_back(proposed);
    m_shown.Flags.push_back(flags);
    if (script.empty())
        throw toolkit::Error(5, QStringLiteral("The %1 dialog was shown with no answer scripted")
                                    .arg(QLatin1String(dialog)));
    const Answer<T> next = std::move(script.front());
    script.pop_front();
    return next(proposed);
}

std::optional<QString> ScriptedCommonDialog::ChooseOpenFile(const QString& fileName,
                                                            int32_t flags) {
    return show(m_open, m_shown.OpenFileNames, fileName, flags, "Open");
}
std::optional<DialogFont> ScriptedCommonDialog::ChooseFont(const DialogFont& font, int32_t flags) {
    return show(m_font, m_shown.Fonts, font, flags, "Font");
}
std::optional<int32_t> ScriptedCommonDialog::ChooseColor(int32_t color, int32_t flags) {
    return show(m_color, m_shown.Colors, color, flags, "Color");
}

} // namespace testsupport
