#include "ScriptedCommonDialog.h"

#include "toolkit/Error.h"

namespace testsupport {

using namespace toolkit;

namespace {

template <typename Answer>
Answer takeNext(std::deque<Answer>& script, const char* dialog) {
    if (script.empty())
        throw Error(5, QStringLiteral("The %1 dialog was shown with no answer scripted")
                           .arg(QLatin1String(dialog)));
    Answer next = std::move(script.front());
    script.pop_front();
    return next;
}

} // namespace

void ScriptedCommonDialog::AnswerOpen(const QString& fileName) {
    OnOpen([fileName](const QString&) { return std::optional<QString>(fileName); });
}
void ScriptedCommonDialog::CancelOpen() {
    OnOpen([](const QString&) { return std::optional<QString>(); });
}
void ScriptedCommonDialog::AnswerFont(const DialogFont& font) {
    OnFont([font](const DialogFont&) { return std::optional<DialogFont>(font); });
}
void ScriptedCommonDialog::CancelFont() {
    OnFont([](const DialogFont&) { return std::optional<DialogFont>(); });
}
void ScriptedCommonDialog::AnswerColor(int32_t color) {
    OnColor([color](int32_t) { return std::optional<int32_t>(color); });
}
void ScriptedCommonDialog::CancelColor() {
    OnColor([](int32_t) { return std::optional<int32_t>(); });
}

std::optional<QString> ScriptedCommonDialog::ChooseOpenFile(const QString& fileName,
                                                            int32_t flags) {
    m_shown.OpenFileNames.push_back(fileName);
    m_shown.Flags.push_back(flags);
    return takeNext(m_open, "Open")(fileName);
}

std::optional<DialogFont> ScriptedCommonDialog::ChooseFont(const DialogFont& font, int32_t flags) {
    m_shown.Fonts.push_back(font);
    m_shown.Flags.push_back(flags);
    return takeNext(m_font, "Font")(font);
}

std::optional<int32_t> ScriptedCommonDialog::ChooseColor(int32_t color, int32_t flags) {
    m_shown.Colors.push_back(color);
    m_shown.Flags.push_back(flags);
    return takeNext(m_color, "Color")(color);
}

} // namespace testsupport
