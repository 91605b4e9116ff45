#pragma once

#include "Overrides.h"
#include "toolkit/Prompts.h"

#include <deque>
#include <variant>
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
        QString title, initial;
    };

    void AnswerMsgBox(int16_t answer) { m_steps.emplace_back(std::in_place_type<int16_t>, answer); }
    void AnswerInputBox(const QString& text) { m_steps.emplace_back(text); }

    int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) override {
        shown.push_back({false, prompt, buttons, title, {}});
        if (!m_steps.empty() && std::holds_alternative<int16_t>(m_steps.front())) {
            const int16_t answer = std::get<int16_t>(m_steps.front());
            m_steps.pop_front();
            return answer;
        }
        if ((buttons & 0x0F) != toolkit::vbYesNo)
            return toolkit::vbOK;
        return (buttons & 0xF00) == toolkit::vbDefaultButton2 ? toolkit::vbNo : toolkit::vbYes;
    }
    QString InputBox(const QString& prompt, const QString& title, const QString& initial) override {
        shown.push_back({true, prompt, 0, title, initial});
        if (m_steps.empty() || !std::holds_alternative<QString>(m_steps.front()))
            return {};
        const QString text = std::get<QString>(m_steps.front());
        m_steps.pop_front();
        return text;
    }

    std::vector<Shown> shown;

private:
    std::deque<std::variant<int16_t, QString>> m_steps; // the answers to come, in order
};

using InstalledPrompts = Installed<ScriptedPrompts, toolkit::Prompts, &toolkit::SetPrompts>;

} // namespace testsupport
