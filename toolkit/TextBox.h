#pragma once

#include "toolkit/Control.h"

#include <QString>

#include <functional>

class QLineEdit;

namespace toolkit {

// A single-line edit field.
class TextBox : public Control {
public:
    explicit TextBox(Container& parent);

    QString Text() const;
    // Raises Change when the text really changes.
    void SetText(const QString& value);
    int32_t SelStart() const;
    void SetSelStart(int32_t value);

    // Raised synchronously when the code changes the text and queued when the
    // user does.
    std::function<void()> OnChange;

private:
    QLineEdit* m_edit;
};

} // namespace toolkit
