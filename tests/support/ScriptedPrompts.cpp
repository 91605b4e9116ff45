#include "ScriptedPrompts.h"

namespace testsupport {

using namespace toolkit;

int16_t ScriptedPrompts::MsgBox(const QString& prompt, int32_t buttons, const QString& title) {
    shown.push_back({false, prompt, buttons, title, {}});
    if (!m_steps.empty() && !m_steps.front().input) {
        const int16_t answer = m_steps.front().answer;
        m_steps.pop_front();
        return answer;
    }
    if ((buttons & 0x0F) != vbYesNo)
        return vbOK;
    return (buttons & 0xF00) == vbDefaultButton2 ? vbNo : vbYes;
}

QString ScriptedPrompts::InputBox(const QString& prompt, const QString& title,
                                  const QString& initial) {
    shown.push_back({true, prompt, 0, title, initial});
    if (m_steps.empty() || !m_steps.front().input)
        return {};
    const QString text = m_steps.front().text;
    m_steps.pop_front();
    return text;
}

} // namespace testsupport
