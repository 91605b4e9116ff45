#pragma once

#include "Overrides.h"
#include "toolkit/Prompts.h"

#include <deque>
#include <vector>

namespace testsupport {

// The message box and input box, scripted: records every box and gives the scripted answers
// in order. With no answer of its kind scripted next, a message box answers its default
// button, as Enter would, and an input box is cancelled.
class ScriptedPrompts : public toolkit::Prompts {
public:
    struct Shown {
        bool input = false;
        QString prompt;
        int32_t buttons = 0;
        QString title;
        QString initial;
    };

    void AnswerMsgBox(int16_t answer) { m_steps.push_back({false, answer, {}}); }
    void AnswerInputBox(const QString& text) { m_steps.push_back({true, 0, text}); }

    int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) override {
        shown.push_back({false, prompt, buttons, title, {}});
        if (!m_steps.empty() && !m_steps.front().input) {
            const int16_t answer = m_steps.front().answer;
            m_steps.pop_front();
            return answer;
        }
        if ((buttons & 0x0F) != toolkit::vbYesNo)
            return toolkit::vbOK;
        return (buttons & 0xF00) == toolkit::vbDefaultButton2 ? toolkit::vbNo : toolkit::vbYes;
    }
    QString InputBox(const QString& prompt, const QString& title, const QString& initial) override {
        shown.push_back({true, prompt, 0, title, initial});
        if (m_steps.empty() || !m_steps.front().input)
            return {};
        const QString text = m_steps.front().text;
        m_steps.pop_front();
        return text;
    }

    std::vector<Shown> shown;

private:
    struct Step {
        bool input = false;
        int16_t answer = 0;
        QString text;
    };
    std::deque<Step> m_steps;
};

using InstalledPrompts = Installed<ScriptedPrompts, toolkit::Prompts, &toolkit::SetPrompts>;

} // namespace testsupport
