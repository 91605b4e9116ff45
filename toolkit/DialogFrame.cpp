#include "toolkit/DialogFrame.h"

#include "toolkit/CommandButton.h"
#include "toolkit/Window.h"

#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QWindow>
#include <QWidget>

namespace toolkit {

namespace {

// Qt's X11 window types, read from this property of the window when its flags are applied;
// 0x08 puts _NET_WM_WINDOW_TYPE_TOOLBAR before the dialog type that Qt::Dialog gives.
constexpr char kXcbWindowType[] = "_q_xcb_wm_window_type";
constexpr int kXcbToolbarType = 0x08;

} // namespace

void SetDialogFrame(Window& window) {
    QWidget* widget = window.NativeWidget();
    const Qt::WindowFlags flags = widget->windowFlags();
    widget->setWindowFlags((flags & ~Qt::WindowType_Mask) | Qt::Dialog);
    if (window.Style().MinButton)
        return;
    // Openbox gives every dialog a minimise button, whatever the window asks, and only leaves
    // it off a toolbar or menu; so a dialog without one names itself a toolbar first, the
    // dialog type after it for window managers that do not know that type. The window is
    // made (not shown) so that the type can be set, and its flags are applied once more to
    // write it.
    widget->winId();
    if (QWindow* handle = widget->windowHandle()) {
        handle->setProperty(kXcbWindowType, kXcbToolbarType);
        const Qt::WindowFlags applied = handle->flags();
        handle->setFlags(applied | Qt::WindowStaysOnBottomHint);
        handle->setFlags(applied);
    }
}

void SetCancelButton(CommandButton& button) {
    QWidget* window = button.ParentWindow().NativeWidget();
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [target = QPointer<QPushButton>(static_cast<QPushButton*>(button.NativeWidget()))] {
                         if (target && target->isEnabled() && target->isVisible())
                             target->click();
                     });
}

} // namespace toolkit
