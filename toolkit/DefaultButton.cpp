#include "toolkit/DefaultButton.h"

#include "toolkit/CommandButton.h"
#include "toolkit/Window.h"

#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

namespace toolkit {

namespace {

void pressDefault(QWidget* window, QPushButton* fallback) {
    auto* focused = qobject_cast<QPushButton*>(window->focusWidget());
    QPushButton* target = focused && focused->isVisible() ? focused : fallback;
    if (target && target->isEnabled() && target->isVisible())
        target->click();
}

} // namespace

void SetDefaultButton(CommandButton& button) {
    QWidget* window = button.ParentWindow().NativeWidget();
    auto* push = static_cast<QPushButton*>(button.NativeWidget());
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(
            shortcut, &QShortcut::activated, window,
            [window, target = QPointer<QPushButton>(push)] { pressDefault(window, target); });
    }
    push->setDefault(true);
}

} // namespace toolkit
