#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

// The modal message box and input box, behind one seam: the real ones are
// Qt dialogs; tests install a scripted double.
namespace toolkit {

// Buttons, icon and default button of a message box, added together.
inline constexpr int32_t vbOKOnly = 0;
inline constexpr int32_t vbOKCancel = 1;
inline constexpr int32_t vbYesNo = 4;
inline constexpr int32_t vbCritical = 16;
inline constexpr int32_t vbQuestion = 32;
inline constexpr int32_t vbExclamation = 48;
inline constexpr int32_t vbInformation = 64;
inline constexpr int32_t vbDefaultButton1 = 0;
inline constexpr int32_t vbDefaultButton2 = 256;

// Answers.
inline constexpr int16_t vbOK = 1;
inline constexpr int16_t vbCancel = 2;
inline constexpr int16_t vbYes = 6;
inline constexpr int16_t vbNo = 7;

class Prompts {
public:
    virtual ~Prompts() = default;
    // Returns the button chosen; closing the box counts as its No or Cancel.
    virtual int16_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) = 0;
    // Returns the text entered, or "" when the box is cancelled.
    virtual QString InputBox(const QString& prompt, const QString& title,
                             const QString& initial) = 0;
};

// An empty title means the application title. Both run a modal event loop.
int16_t MsgBox(const QString& prompt, int32_t buttons = vbOKOnly, const QString& title = {});
QString InputBox(const QString& prompt, const QString& title = {}, const QString& initial = {});

// Installs the prompts used from now on; nullptr restores the Qt dialogs.
void SetPrompts(std::shared_ptr<Prompts> prompts);

// The answer a message box gives to Enter: its default button.
int16_t DefaultAnswer(int32_t buttons);

// A test double: records every box and gives the scripted answers in order.
// While a box "is open" its script step may run code (as a user would act
// in another window while the modal loop runs). With no answer scripted, a
// message box answers its default button and an input box is cancelled.
class ScriptedPrompts : public Prompts {
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
    int unscripted = 0;

private:
    struct Step {
        bool input = false;
        int16_t answer = 0;
        QString text;
        std::function<void()> whileOpen;
    };
    std::deque<Step> m_steps;
};

} // namespace toolkit
