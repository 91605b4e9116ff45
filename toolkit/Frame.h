#pragma once

#include "toolkit/Control.h"

#include <QString>

namespace toolkit {

// A container that clips its children, drawn as an etched border with its
// caption.
class Frame : public Control, public Container {
public:
    explicit Frame(Container& parent);

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);

    QWidget* ClientWidget() const override { return NativeWidget(); }
    Window& TopWindow() override { return ParentWindow(); }

private:
    QString m_strCaption;
};

} // namespace toolkit
