#pragma once

#include "Overrides.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Error.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace testsupport {

using toolkit::DialogFont;

// The Open, Font and Color dialogs, scripted: each show takes the next scripted answer for its
// kind and records what it was shown with. An answer may be a function, run while the "dialog"
// is open, so a test can act as a handler running inside a modal dialog. A show with no answer
// scripted raises an error naming the dialog.
class ScriptedCommonDialog final : public toolkit::CommonDialogSeam {
public:
    template <typename T> using Answer = std::function<std::optional<T>(const T& proposed)>;

    void OnOpen(Answer<QString> answer) { m_open.push_back(std::move(answer)); }
    void AnswerOpen(const QString& name) { OnOpen([name](const QString&) { return name; }); }
    void CancelOpen() { OnOpen([](const QString&) { return std::nullopt; }); }
    void AnswerFont(const DialogFont& font) { m_font.push_back([font](auto&) { return font; }); }
    void CancelFont() { m_font.push_back([](auto&) { return std::nullopt; }); }
    void AnswerColor(int32_t color) { m_color.push_back([color](auto&) { return color; }); }
    void CancelColor() { m_color.push_back([](auto&) { return std::nullopt; }); }

    // What each dialog was shown with, one entry per show, and the flags in force.
    struct Shown {
        std::vector<QString> OpenFileNames;
        std::vector<DialogFont> Fonts;
        std::vector<int32_t> Colors, Flags;
    };
    const Shown& History() const noexcept { return m_shown; }
    // Answers scripted but not yet used.
    size_t Pending() const noexcept { return m_open.size() + m_font.size() + m_color.size(); }

    std::optional<QString> ChooseOpenFile(const QString& fileName, int32_t flags) override {
        return show(m_open, m_shown.OpenFileNames, fileName, flags, "Open");
    }
    std::optional<DialogFont> ChooseFont(const DialogFont& font, int32_t flags) override {
        return show(m_font, m_shown.Fonts, font, flags, "Font");
    }
    std::optional<int32_t> ChooseColor(int32_t color, int32_t flags) override {
        return show(m_color, m_shown.Colors, color, flags, "Color");
    }

private:
    template <typename T>
    std::optional<T> show(std::deque<Answer<T>>& script, std::vector<T>& shown, const T& proposed,
                          int32_t flags, const char* dialog) {
        shown.push_back(proposed);
        m_shown.Flags.push_back(flags);
        if (script.empty())
            throw toolkit::Error(5, QStringLiteral("The %1 dialog was shown with no answer scripted")
                                        .arg(QLatin1String(dialog)));
        const Answer<T> next = std::move(script.front());
        script.pop_front();
        return next(proposed);
    }

    std::deque<Answer<QString>> m_open;
    std::deque<Answer<DialogFont>> m_font;
    std::deque<Answer<int32_t>> m_color;
    Shown m_shown;
};

using InstalledCommonDialogs =
    Installed<ScriptedCommonDialog, toolkit::CommonDialogSeam, &toolkit::SetCommonDialogs>;

} // namespace testsupport
