#pragma once

#include "toolkit/Control.h"

#include <QString>

#include <functional>

namespace toolkit {

class Container;
class MultiLineTextBoxWidget;

// A text box of several lines with a vertical scroll bar that is always
// there. Its text is kept as given, line breaks included: CR LF, a lone LF
// and a lone CR each start a new line on the screen, and Text() returns the
// text exactly as it was set. Locked, the user can select and copy the text
// but not change it.
class MultiLineTextBox : public Control {
public:
    explicit MultiLineTextBox(Container& parent);

    QString Text() const { return m_strText; }
    // Raises Change when the text really changes.
    void SetText(const QString& value);
    bool Locked() const { return m_blnLocked; }
    void SetLocked(bool value);

    // Raised synchronously when the code changes the text and queued when the
    // user does.
    std::function<void()> OnChange;

private:
    friend class MultiLineTextBoxWidget;
    void userEdited();
    void raiseChange();

    MultiLineTextBoxWidget* m_edit;
    QString m_strText;
    bool m_blnLocked = false;
    bool m_blnSetting = false;
};

} // namespace toolkit
