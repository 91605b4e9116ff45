#include "toolkit/DialogFrame.h"

#include "toolkit/Window.h"

#include <QWidget>

namespace toolkit {

void SetDialogFrame(Window& window) {
    QWidget* widget = window.NativeWidget();
    const Qt::WindowFlags flags = widget->windowFlags();
    widget->setWindowFlags((flags & ~Qt::WindowType_Mask) | Qt::Dialog);
}

} // namespace toolkit
