#pragma once

#include "toolkit/Control.h"

#include <QString>

namespace toolkit {

class Container;

// A line of fixed text on a window or frame. An "&" in the caption marks
// nothing here (a label takes no focus); "&&" shows one "&". Where the font
// on this system is wider than the one the label was sized for, the text
// still shows whole: the label grows to the right on the screen, while
// Width keeps the value set.
class Label : public Control {
public:
    explicit Label(Container& parent);

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);

protected:
    void fontChanged() override;

private:
    void fitText();
    QString m_strCaption;
};

} // namespace toolkit
