#include "toolkit/Picture.h"

#include "toolkit/Window.h"

#include <QPixmap>
#include <QWidget>

namespace toolkit {

Picture WindowIcon(const Window& window) {
    const QWidget* widget = window.NativeWidget();
    if (!widget->testAttribute(Qt::WA_SetWindowIcon))
        return {};
    return Picture(widget->windowIcon());
}

void SetNoIcon(Window& window) {
    // An empty QIcon means "the application's icon" to Qt, so the window gets
    // one that draws nothing instead.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    window.NativeWidget()->setWindowIcon(QIcon(blank));
}

} // namespace toolkit
