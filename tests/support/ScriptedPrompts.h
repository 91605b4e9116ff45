#pragma once

#include "Overrides.h"
#include "toolkit/Prompts.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace testsupport {

// The message box and input box, scripted: records every box and gives the scripted answers
// in order. While a box "is open" its script step may run code (as a user would act in
// another window while the modal loop runs). With no answer scripted, a message box answers
// its default button and an input box is cancelled.
class ScriptedPrompts : public toolkit::Prompts {
public:
    struct Shown {
        bool input = false;
        QString prompt;
        int32_t buttons = 0;
        QString title;
        QString initial;
    };

    void AnswerMsgBox(int16_t answer, std::function<void()> whileOpen = {});
    void AnswerInputBox(const QString& text, std::function<void()> whileOpen = {});

    int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& initial) override;

    std::vector<Shown> shown;

private:
    struct Step {
        bool input = false;
        int16_t answer = 0;
        QString text;
        std::function<void()> whileOpen;
    };
    // The next step when it is of the kind asked for.
    std::optional<Step> take(bool input);
    std::deque<Step> m_steps;
};

using InstalledPrompts = Installed<ScriptedPrompts, toolkit::Prompts, &toolkit::SetPrompts>;

} // namespace testsupport
