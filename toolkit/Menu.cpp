#include "toolkit/Menu.h"

#include "toolkit/Error.h"
#include "toolkit/Window.h"

#include <QMenuBar>

namespace toolkit {

MenuItem::MenuItem(Window& window, const QString& caption)
    : m_window(window), m_strCaption(caption) {
    m_menu = window.MenuBar()->addMenu(caption);
    m_action = m_menu->menuAction();
}

MenuItem::MenuItem(MenuItem& menu, const QString& caption)
    : m_window(menu.m_window), m_strCaption(caption) {
    // Items nest one level: a menu on the bar holds items.
    if (!menu.m_menu)
        throw Error::InvalidProcedureCall();
    // A separator with text would show the text beside its line. The caption is set once:
    // an item keeps the one it was made with.
    m_action = menu.m_menu->addAction(IsSeparator() ? QString() : caption);
    m_action->setSeparator(IsSeparator());
    QObject::connect(m_action, &QAction::triggered, m_action, [this] {
        // Qt toggles a checkable action by itself; the mark belongs to the handler.
        applyState();
        m_window.PostHandler([this, action = m_action] {
            if (const auto handler = OnClick; action && handler)
                handler();
        });
    });
}

// A choice is queued, never handled inside the menu's own event processing,
// so the menu or the action can go at once; a queued click goes with it.
MenuItem::~MenuItem() {
    delete m_menu; // with its own action
    delete m_action;
}

void MenuItem::applyState() {
    if (!m_action)
        return;
    // Only a checked item is checkable, so that unchecked items keep no room
    // for a mark that is not there.
    m_action->setCheckable(m_blnChecked);
    m_action->setChecked(m_blnChecked);
    m_action->setEnabled(m_blnEnabled);
}

void MenuItem::SetChecked(bool value) {
    m_blnChecked = value;
    applyState();
}

void MenuItem::SetEnabled(bool value) {
    m_blnEnabled = value;
    applyState();
}

} // namespace toolkit
