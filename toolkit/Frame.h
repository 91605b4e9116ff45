#pragma once

#include "toolkit/Container.h"
#include "toolkit/Control.h"

#include <QString>

namespace toolkit {

// A container that clips its children. With BorderStyle 1 it draws an etched
// border with its caption; with 0 it is a plain area of its BackColor.
class Frame : public Control, public Container {
public:
    explicit Frame(Container& parent);

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);
    int16_t BorderStyle() const { return m_intBorderStyle; }
    void SetBorderStyle(int16_t value);

    QWidget* ClientWidget() const override { return NativeWidget(); }
    Window& TopWindow() override { return ParentWindow(); }

private:
    friend class FrameWidget;

    QString m_strCaption;
    int16_t m_intBorderStyle = 1;
};

} // namespace toolkit
