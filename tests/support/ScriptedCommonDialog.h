#pragma once

#include "Overrides.h"
#include "toolkit/CommonDialog.h"

#include <deque>
#include <functional>
#include <vector>

namespace testsupport {

using toolkit::CommonDialogSeam;
using toolkit::DialogFont;

// The Open, Font and Color dialogs, scripted: each show takes the next scripted
// answer for its kind and records what it was shown with. An answer may be a function, run
// while the "dialog" is open, so a test can act as a handler running inside a modal dialog.
// A show with no answer scripted raises an error naming the dialog.
class ScriptedCommonDialog final : public CommonDialogSeam {
public:
    using FileAnswer = std::function<std::optional<QString>(const QString& proposed)>;
    using FontAnswer = std::function<std::optional<DialogFont>(const DialogFont& proposed)>;
    using ColorAnswer = std::function<std::optional<int32_t>(int32_t proposed)>;

    void AnswerOpen(const QString& fileName);
    void CancelOpen();
    void OnOpen(FileAnswer answer) { m_open.push_back(std::move(answer)); }
    void AnswerFont(const DialogFont& font);
    void CancelFont();
    void OnFont(FontAnswer answer) { m_font.push_back(std::move(answer)); }
    void AnswerColor(int32_t color);
    void CancelColor();
    void OnColor(ColorAnswer answer) { m_color.push_back(std::move(answer)); }

    // What each dialog was shown with, one entry per show, and the flags in force.
    struct Shown {
        std::vector<QString> OpenFileNames;
        std::vector<DialogFont> Fonts;
        std::vector<int32_t> Colors;
        std::vector<int32_t> Flags;
    };
    const Shown& History() const noexcept { return m_shown; }
    // Answers scripted but not yet used.
    size_t Pending() const noexcept { return m_open.size() + m_font.size() + m_color.size(); }

    std::optional<QString> ChooseOpenFile(const QString& fileName, int32_t flags) override;
    std::optional<DialogFont> ChooseFont(const DialogFont& font, int32_t flags) override;
    std::optional<int32_t> ChooseColor(int32_t color, int32_t flags) override;

private:
    std::deque<FileAnswer> m_open;
    std::deque<FontAnswer> m_font;
    std::deque<ColorAnswer> m_color;
    Shown m_shown;
};

using InstalledCommonDialogs =
    Installed<ScriptedCommonDialog, CommonDialogSeam, &toolkit::SetCommonDialogs>;

} // namespace testsupport
