#include "toolkit/CommandButton.h"

#include "toolkit/Colors.h"
#include "toolkit/ForwardingWidget_p.h"
#include "toolkit/Window.h"

#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

namespace toolkit {

namespace {

// Reports the release before Qt's own handling of it, which reports the click, so that
// handlers see MouseDown, MouseUp, then Click.
class CommandButtonWidget : public Forwarding<QPushButton> {
public:
    using Forwarding<QPushButton>::Forwarding;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        m_control->Mouse(MouseKind::Up, ToMouseArgs(MouseKind::Up, *e));
        QPushButton::mouseReleaseEvent(e);
        e->accept();
    }
};

// The key, pressed in the button's window, clicks the push button that `target` names, as
// a mouse click would, when it can be clicked.
void clickOnKey(CommandButton& button, Qt::Key key, std::function<QPushButton*()> target) {
    QWidget* window = button.ParentWindow().NativeWidget();
    // A shortcut's own context is the window it is made on.
    auto* shortcut = new QShortcut(QKeySequence(key), window);
    QObject::connect(shortcut, &QShortcut::activated, window, [target = std::move(target)] {
        QPushButton* push = target();
        if (push && push->isEnabled() && push->isVisible())
            push->click();
    });
}

} // namespace

CommandButton::CommandButton(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* button = new CommandButtonWidget(*this, parent.ClientWidget());
    QObject::connect(button, &QPushButton::clicked, button,
                     [this] { post([this] { raise(OnClick); }); });
    Attach(button);
}

void CommandButton::SetCaption(const QString& value) {
    m_strCaption = value;
    static_cast<QPushButton*>(NativeWidget())->setText(value);
}

void SetDefaultButton(CommandButton& button) {
    QWidget* window = button.ParentWindow().NativeWidget();
    auto* push = static_cast<QPushButton*>(button.NativeWidget());
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        clickOnKey(button, key, [window, fallback = QPointer<QPushButton>(push)] {
            auto* focused = qobject_cast<QPushButton*>(window->focusWidget());
            return focused && focused->isVisible() ? focused : fallback.data();
        });
    }
    push->setDefault(true);
}

void SetCancelButton(CommandButton& button) {
    clickOnKey(button, Qt::Key_Escape,
               [push = QPointer<QPushButton>(static_cast<QPushButton*>(button.NativeWidget()))] {
                   return push.data();
               });
}

} // namespace toolkit
