#pragma once

#include "toolkit/Control.h"

#include <QString>

class QPlainTextEdit;

namespace toolkit {

// A read-only text box of several lines with a vertical scroll bar that is
// always there: the user can select and copy the text but not change it. Its
// text is kept as given, line breaks included: CR LF, a lone LF and a lone CR
// each start a new line on the screen, and Text() returns the text exactly as
// it was set.
class MultiLineTextBox : public Control {
public:
    explicit MultiLineTextBox(Container& parent);

    QString Text() const { return m_strText; }
    void SetText(const QString& value);

private:
    QPlainTextEdit* m_edit;
    QString m_strText;
};

} // namespace toolkit
