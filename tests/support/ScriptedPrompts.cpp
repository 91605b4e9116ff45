#include "ScriptedPrompts.h"

namespace testsupport {

using namespace toolkit;

namespace {

// The answer a message box gives to Enter: its default button.
int16_t defaultAnswer(int32_t buttons) {
    const bool second = (buttons & 0xF00) == vbDefaultButton2;
    switch (buttons & 0x0F) {
    case vbYesNo:
        return second ? vbNo : vbYes;
    case vbOKCancel:
        return second ? vbCancel : vbOK;
    default:
        return vbOK;
    }
}

} // namespace

void ScriptedPrompts::AnswerMsgBox(int16_t answer, std::function<void()> whileOpen) {
    m_steps.push_back({false, answer, {}, std::move(whileOpen)});
}

void ScriptedPrompts::AnswerInputBox(const QString& text, std::function<void()> whileOpen) {
    m_steps.push_back({true, 0, text, std::move(whileOpen)});
}

std::optional<ScriptedPrompts::Step> ScriptedPrompts::take(bool input) {
    if (m_steps.empty() || m_steps.front().input != input)
        return std::nullopt;
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    if (step.whileOpen)
        step.whileOpen();
    return step;
}

int16_t ScriptedPrompts::MsgBox(const QString& prompt, int32_t buttons, const QString& title) {
    shown.push_back({false, prompt, buttons, title, {}});
    const std::optional<Step> step = take(false);
    return step ? step->answer : defaultAnswer(buttons);
}

QString ScriptedPrompts::InputBox(const QString& prompt, const QString& title,
                                  const QString& initial) {
    shown.push_back({true, prompt, 0, title, initial});
    const std::optional<Step> step = take(true);
    return step ? step->text : QString();
}

} // namespace testsupport
