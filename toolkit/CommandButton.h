#pragma once

#include "toolkit/Control.h"

#include <QString>

#include <functional>

namespace toolkit {

// A push button. The caption's "&" marks its access key (Alt + key clicks it).
// MouseDown and MouseUp report every button with its shift state and place;
// Click follows a left press released over the button, or the access key.
// All of them are queued to the dispatch boundary.
class CommandButton : public Control {
public:
    explicit CommandButton(Container& parent);

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);

    std::function<void()> OnClick;

private:
    QString m_strCaption;
};

// Makes the button its window's default button: Enter clicks it, unless the
// keyboard focus is on another push button of the window, which Enter then
// clicks instead. The click is queued to the dispatch boundary as a mouse
// click is. One default button per window.
void SetDefaultButton(CommandButton& button);

// Makes the button its window's cancel button: Escape clicks it, as a mouse click would.
void SetCancelButton(CommandButton& button);

} // namespace toolkit
