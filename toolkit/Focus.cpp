#include "toolkit/Focus.h"

#include "toolkit/Control.h"

#include <QWidget>

namespace toolkit {

void SetFocusTo(Control& control) {
    if (QWidget* widget = control.NativeWidget())
        widget->setFocus(Qt::OtherFocusReason);
}

} // namespace toolkit
