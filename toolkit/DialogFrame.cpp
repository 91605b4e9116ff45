#include "toolkit/DialogFrame.h"

#include "toolkit/Window.h"

#include <QWindow>
#include <QWidget>

namespace toolkit {

namespace {

// Qt's X11 window types, read from this property of the window when its flags are applied;
// 0x08 puts _NET_WM_WINDOW_TYPE_TOOLBAR before the type that the window's flags give.
constexpr char kXcbWindowType[] = "_q_xcb_wm_window_type";
constexpr int kXcbToolbarType = 0x08;

} // namespace

void NameAsToolbar(QWindow* handle) {
    if (!handle || handle->property(kXcbWindowType).toInt() == kXcbToolbarType)
        return;
    // Qt reads the type from this property when it applies the window's flags;
    // a flag that means nothing on X11 makes it apply them once more.
    handle->setProperty(kXcbWindowType, kXcbToolbarType);
    const Qt::WindowFlags applied = handle->flags();
    handle->setFlags(applied | Qt::WindowContextHelpButtonHint);
    handle->setFlags(applied);
}

void SetDialogFrame(Window& window) {
    QWidget* widget = window.NativeWidget();
    const Qt::WindowFlags flags = widget->windowFlags();
    widget->setWindowFlags((flags & ~Qt::WindowType_Mask) | Qt::Dialog);
    if (window.Style().MinButton)
        return;
    // Openbox gives every dialog a minimise button, whatever the window asks, and only leaves
    // it off a toolbar or menu. The window is made (not shown) so that the type can be set.
    widget->winId();
    NameAsToolbar(widget->windowHandle());
}

} // namespace toolkit
