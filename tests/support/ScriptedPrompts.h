#pragma once

#include "Overrides.h"
#include "toolkit/Prompts.h"

#include <deque>
#include <vector>

namespace testsupport {

// The message box and input box, scripted: records every box. A message box answers its
// default button, as Enter would; an input box gives the next scripted text, or is cancelled
// when none is left.
class ScriptedPrompts : public toolkit::Prompts {
public:
    struct Shown {
        bool input = false;
        QString prompt;
        int32_t buttons = 0;
        QString initial;
    };

    void AnswerInputBox(const QString& text) { m_inputs.push_back(text); }

    int16_t MsgBox(const QString& prompt, int32_t buttons, const QString&) override {
        shown.push_back({false, prompt, buttons, {}});
        if ((buttons & 0x0F) != toolkit::vbYesNo)
            return toolkit::vbOK;
        return (buttons & 0xF00) == toolkit::vbDefaultButton2 ? toolkit::vbNo : toolkit::vbYes;
    }
    QString InputBox(const QString& prompt, const QString&, const QString& initial) override {
        shown.push_back({true, prompt, 0, initial});
        if (m_inputs.empty())
            return {};
        const QString text = m_inputs.front();
        m_inputs.pop_front();
        return text;
    }

    std::vector<Shown> shown;

private:
    std::deque<QString> m_inputs; // the input boxes' answers to come, in order
};

using InstalledPrompts = Installed<ScriptedPrompts, toolkit::Prompts, &toolkit::SetPrompts>;

} // namespace testsupport
