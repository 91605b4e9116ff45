#pragma once

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QString>

#include <functional>

namespace toolkit {

class Window;

// A menu on a window's menu bar, or an item of such a menu. The caption's "&"
// marks the access key, shown underlined and reached with Alt; an item
// captioned "-" is a separator. Click is queued to the dispatch boundary when the
// user chooses the item. The check mark is the item's own state: choosing an
// item does not change it, only its handler or the code does.
class MenuItem {
public:
    // A menu at the end of the window's menu bar.
    MenuItem(Window& window, const QString& caption);
    // An item at the end of the menu.
    MenuItem(MenuItem& menu, const QString& caption);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    QString Caption() const { return m_strCaption; }
    bool Checked() const { return m_blnChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return m_blnEnabled; }
    void SetEnabled(bool value);
    bool IsSeparator() const { return m_strCaption == QStringLiteral("-"); }

    std::function<void()> OnClick;

    // Toolkit internals: the action the menu shows for this item.
    QAction* NativeAction() const { return m_action; }

private:
    void applyState();

    Window& m_window;
    QPointer<QMenu> m_menu; // set for a menu on the menu bar
    QPointer<QAction> m_action;
    QString m_strCaption;
    // As a new action is, so that a new item applies no state.
    bool m_blnChecked = false;
    bool m_blnEnabled = true;
};

} // namespace toolkit
