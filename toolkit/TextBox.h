#pragma once

#include "toolkit/Control.h"

#include <QString>

#include <functional>

namespace toolkit {

class Container;
class TextBoxWidget;

// A single-line edit field; Locked, the user can select and copy its text but
// not change it.
class TextBox : public Control {
public:
    explicit TextBox(Container& parent);

    QString Text() const;
    // Raises Change when the text really changes.
    void SetText(const QString& value);
    bool Locked() const { return m_blnLocked; }
    void SetLocked(bool value);
    int16_t BorderStyle() const { return m_intBorderStyle; }
    void SetBorderStyle(int16_t value);
    int32_t SelStart() const;
    void SetSelStart(int32_t value);

    // Raised synchronously when the code changes the text and queued when the
    // user does.
    std::function<void()> OnChange;

private:
    void raiseChange();

    TextBoxWidget* m_edit;
    bool m_blnLocked = false;
    int16_t m_intBorderStyle = 1;
};

} // namespace toolkit
