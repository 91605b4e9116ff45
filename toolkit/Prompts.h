#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// The modal message box and input box, behind one seam: the real ones are
// Qt dialogs; another can be installed in their place.
namespace toolkit {

// Buttons, icon and default button of a message box, added together.
inline constexpr int32_t vbOKOnly = 0;
inline constexpr int32_t vbYesNo = 4;
inline constexpr int32_t vbCritical = 16;
inline constexpr int32_t vbDefaultButton2 = 256;

// Answers.
inline constexpr int16_t vbOK = 1;
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

// Installs the prompts used from now on and returns the ones it replaces; nullptr means
// the Qt dialogs.
std::shared_ptr<Prompts> SetPrompts(std::shared_ptr<Prompts> prompts);

} // namespace toolkit
