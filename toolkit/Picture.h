#pragma once

#include <QIcon>

namespace toolkit {

class Window;

// A picture shared by reference: copies of it refer to the same pixels (a QIcon's are
// shared). The default one is empty.
class Picture {
public:
    Picture() = default;
    bool Empty() const { return m_icon.isNull(); }

    // Toolkit internals.
    explicit Picture(const QIcon& icon) : m_icon(icon) {}
    const QIcon& Icon() const { return m_icon; }

private:
    QIcon m_icon;
};

// The window's own icon, as set with SetIcon; empty when it has none (the
// application's icon, which it would show instead, is not its own).
Picture WindowIcon(const Window& window);

// Gives the window no icon in its caption bar and task-bar entry, not even
// the application's.
void SetNoIcon(Window& window);

} // namespace toolkit
