#pragma once

#include "Overrides.h"
#include "toolkit/CommonDialog.h"
#include "toolkit/Error.h"

#include <deque>
#include <optional>
#include <vector>

namespace testsupport {

using toolkit::DialogFont;

// The Open, Font and Color dialogs, scripted: each show takes the next scripted answer for its
// kind, a value or a cancel, and records what it was shown with. A show with no answer scripted
// raises an error naming the dialog.
class ScriptedCommonDialog final : public toolkit::CommonDialogSeam {
public:
    void AnswerOpen(const QString& name) { m_open.push_back(name); }
    void CancelOpen() { m_open.push_back(std::nullopt); }
    void AnswerFont(const DialogFont& font) { m_font.push_back(font); }
    void CancelFont() { m_font.push_back(std::nullopt); }
    void AnswerColor(int32_t color) { m_color.push_back(color); }

    // What each dialog was shown with, one entry per show, and the flags in force.
    struct Shown {
        std::vector<QString> OpenFileNames;
        std::vector<DialogFont> Fonts;
        std::vector<int32_t> Colors, Flags;
    };
    Shown shown;

    std::optional<QString> ChooseOpenFile(const QString& fileName, int32_t flags) override {
        return show(m_open, shown.OpenFileNames, fileName, flags, "Open");
    }
    std::optional<DialogFont> ChooseFont(const DialogFont& font, int32_t flags) override {
        return show(m_font, shown.Fonts, font, flags, "Font");
    }
    std::optional<int32_t> ChooseColor(int32_t color, int32_t flags) override {
        return show(m_color, shown.Colors, color, flags, "Color");
    }

private:
    template <typename T>
    std::optional<T> show(std::deque<std::optional<T>>& script, std::vector<T>& proposals,
                          const T& proposed, int32_t flags, const char* dialog) {
        proposals.push_back(proposed);
        shown.Flags.push_back(flags);
        if (script.empty())
            throw toolkit::Error(5, QStringLiteral("The %1 dialog was shown with no answer scripted")
                                        .arg(QLatin1String(dialog)));
        const std::optional<T> next = script.front();
        script.pop_front();
        return next;
    }

    std::deque<std::optional<QString>> m_open;
    std::deque<std::optional<DialogFont>> m_font;
    std::deque<std::optional<int32_t>> m_color;
};

using InstalledCommonDialogs =
    Installed<ScriptedCommonDialog, toolkit::CommonDialogSeam, &toolkit::SetCommonDialogs>;

} // namespace testsupport
