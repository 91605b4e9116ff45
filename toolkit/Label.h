#pragma once

#include "toolkit/Control.h"

#include <QString>

namespace toolkit {

class Container;

// A line of fixed text on a window or frame. An "&" in the caption marks
// nothing here (a label takes no focus); "&&" shows one "&".
class Label : public Control {
public:
    explicit Label(Container& parent);

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);

private:
    QString m_strCaption;
};

} // namespace toolkit
