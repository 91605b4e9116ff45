// A window's showing and hiding: owners, modality, the window state and the
// unload.
#include "toolkit/Window.h"

#include "toolkit/DialogFrame.h"
#include "toolkit/Error.h"
#include "toolkit/X11.h"

#include <QApplication>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>

#include <utility>
#include <vector>

namespace toolkit {

namespace {

// Windows come on screen in the order the code showed them: a window's map
// waits until the window mapped before it is on screen and has had a frame's
// time to paint. Both maps sent at once leave the order to the window
// manager. A window that is never exposed (no window manager maps it, or it
// is hidden first) holds the others up for a short while only. The first
// picture of a window just mapped can take a few display frames on a loaded
// core, and the next window waits for it.
constexpr int kMapWaitMs = 300;
constexpr int kFirstFrameMs = 50;
// How long a window manager may take to minimise a window before the
// request counts as refused.
constexpr int kIconifyWaitMs = 2000;
QPointer<WindowFrame> g_mapping;
int g_queued = 0; // windows whose map is queued or waiting
// The maps that wait for the window mapped before them.
std::vector<std::function<void()>> g_waiting;

void releaseMapOrder() {
    g_mapping = nullptr;
    for (const auto& map : std::exchange(g_waiting, {}))
        map();
}

// Lets the next window map after a while unless the order has moved on by
// then; a frame gone meanwhile no longer holds it up.
void releaseMapOrderAfter(WindowFrame* widget, int ms) {
    QTimer::singleShot(ms, QCoreApplication::instance(), [frame = QPointer<WindowFrame>(widget)] {
        if (g_mapping == frame)
            releaseMapOrder();
    });
}

} // namespace

bool Window::MapsPending() { return (g_mapping && g_mapping->isVisible()) || g_queued > 0; }

void Window::setMapQueued(bool queued) {
    if (queued != m_blnMapQueued)
        g_queued += queued ? 1 : -1;
    m_blnMapQueued = queued;
}

// Qt reports a window exposed once it is mapped; on X11 a window manager may
// map its frame only later, and only then is the window on screen.
void Window::FrameExposed() {
    // Most exposes are repaints of a window long on screen: the server is
    // asked only while a report or the map order waits for it.
    const bool waiting = m_reportDeferred || g_mapping == m_widget;
    if (!waiting || !X11Viewable(m_widget->winId()).value_or(true))
        return;
    if (m_reportDeferred)
        FrameReported();
    if (g_mapping == m_widget)
        releaseMapOrderAfter(m_widget, kFirstFrameMs);
}

void Window::SetVisible(bool value) {
    if (value)
        Show(vbModeless, m_owner);
    else
        Hide();
}

void Window::SetWindowState(int16_t value) {
    if (value != vbNormal && value != vbMinimized && value != vbMaximized)
        throw Error::InvalidPropertyValue();
    if (value == m_intWindowState)
        return;
    const bool restored = m_intWindowState == vbMinimized;
    m_intWindowState = value;
    // Qt's state for each of ours, in the order of their values.
    static constexpr Qt::WindowState kQtStates[] = {Qt::WindowNoState, Qt::WindowMinimized,
                                                    Qt::WindowMaximized};
    m_widget->setWindowState(kQtStates[value]);
    // Qt brings a window back from the icon by mapping it. A window manager
    // that has not carried out the minimise yet still has it mapped, never
    // sees that map and minimises it afterwards; a request to activate the
    // window reaches it after the minimise.
    if (restored && m_widget->isVisible())
        m_widget->activateWindow();
    applyVisibility();
    ownerStateChanged();
    // weston, like a display with no window manager, leaves a window as it
    // is when it asks to be minimised. The window is then not minimised, and
    // what hid with it comes back, rather than staying out of reach.
    if (value == vbMinimized && m_widget->isVisible())
        QTimer::singleShot(kIconifyWaitMs, m_widget, [this, frame = QPointer<WindowFrame>(m_widget)] {
            if (frame && frame->Listening() && m_intWindowState == vbMinimized &&
                m_widget->isVisible() && X11Viewable(m_widget->winId()).value_or(false))
                SetWindowState(vbNormal);
        });
}

void Window::FrameStateChanged() {
    const int16_t state = m_widget->isMinimized()   ? vbMinimized
                          : m_widget->isMaximized() ? vbMaximized
                                                    : vbNormal;
    if (state == m_intWindowState)
        return;
    // An owned window hides with its owner; a window manager that minimises
    // it along with the owner does not make it minimised in its own right.
    // When that news comes in late, with the owner back already, the window
    // is brought back from the icon at once. openbox tells of the owned window
    // before its owner: while the server still has the owner off the screen,
    // the owner's own news is on its way, and bringing the owned window back
    // would make openbox restore the owner too.
    // A window that a modal window blocks is not minimised: some window managers iconify a
    // dialog's owners with it, which would leave the application blocked and out of sight.
    // The request is undone, and the window manager brings the dialog back with its owner.
    const QWidget* modal = QApplication::activeModalWidget();
    if (state == vbMinimized && modal && modal != m_widget) {
        PostHandler([this] { m_widget->Restore(); });
        return;
    }
    if (state == vbMinimized && m_owner) {
        if (shouldShow() && m_widget->isVisible())
            PostHandler([this] {
                if (m_widget->isMinimized() && m_intWindowState != vbMinimized && m_owner &&
                    m_owner->m_intWindowState != vbMinimized &&
                    X11Viewable(m_owner->m_widget->winId()).value_or(true))
                    m_widget->Restore();
            });
        return;
    }
    m_intWindowState = state;
    ownerStateChanged();
}

void Window::ownerStateChanged() {
    for (Window* owned : m_owned)
        owned->applyVisibility();
    if (m_intWindowState != vbMinimized)
        raiseOwned();
}

void Window::raiseOwned() {
    for (Window* owned : m_owned) {
        if (owned->m_widget->isVisible())
            owned->m_widget->raise();
    }
}

// Shown, loaded, and not hidden with a minimised owner.
bool Window::shouldShow() const {
    return m_blnVisible && m_blnLoaded && !(m_owner && m_owner->m_intWindowState == vbMinimized);
}

// Hiding happens at once; showing is queued, so that what the running
// handler still does to the window goes out with the map.
void Window::applyVisibility() {
    const bool shown = shouldShow();
    if (shown && !m_widget->isVisible()) {
        if (m_blnMapQueued)
            return;
        setMapQueued(true);
        PostHandler([this] { mapQueued(); });
    } else if (!shown && m_widget->isVisible()) {
        m_widget->hide();
        if (g_mapping == m_widget)
            releaseMapOrder();
    }
}

void Window::mapQueued() {
    if (!shouldShow() || m_widget->isVisible()) {
        setMapQueued(false);
        return;
    }
    if (g_mapping && g_mapping->isVisible()) {
        // A window gone meanwhile, its frame no longer listening, maps nothing.
        g_waiting.emplace_back([this, frame = QPointer<WindowFrame>(m_widget)] {
            if (frame && frame->Listening())
                mapQueued();
        });
        return;
    }
    setMapQueued(false);
    // A window manager may have minimised an owned window along with its
    // owner; shown again, it must not come back as an icon.
    if (m_intWindowState != vbMinimized)
        m_widget->Restore();
    frame(true);
    applyGeometry();
    // Made here, the window is made where it is mapped: some window managers
    // (weston's) take a window's place only from where it was made.
    m_widget->winId();
    tellOwner();
    if (m_style.ToolWindow)
        NameAsToolbar(m_widget->windowHandle());
    g_mapping = m_widget;
    m_widget->show();
    m_widget->Watch(m_widget->windowHandle());
    releaseMapOrderAfter(m_widget, kMapWaitMs);
    if (m_owner)
        m_widget->raise();
}

// A window shown without an owner keeps the one it has.
void Window::setOwner(Window* owner) {
    if (!owner || owner == m_owner || owner == this)
        return;
    if (m_owner)
        std::erase(m_owner->m_owned, this);
    m_owner = owner;
    m_owner->m_owned.push_back(this);
    // A window not made yet hears of its owner when it is mapped.
    if (const QWindow* native = m_widget->windowHandle(); native && native->handle())
        tellOwner();
}

// The window manager keeps an owned window above its owner and moves both
// together.
void Window::tellOwner() {
    QWindow* parent = nullptr;
    if (m_owner) {
        m_owner->m_widget->winId();
        parent = m_owner->m_widget->windowHandle();
    }
    m_widget->windowHandle()->setTransientParent(parent);
}

void Window::Show(int16_t modal, Window* owner) {
    const auto keep = weak_from_this().lock();
    setOwner(owner);
    m_blnLoaded = true;
    m_blnVisible = true;
    if (modal != vbModeless)
        m_widget->setWindowModality(Qt::ApplicationModal);
    if (!std::exchange(m_blnShownOnce, true) && m_intStartUpPosition == vbStartUpScreen)
        centre();
    applyVisibility();
    if (modal == vbModeless || m_modalLoop)
        return;
    QEventLoop loop;
    const QScopedValueRollback running(m_modalLoop, &loop);
    loop.exec();
    m_widget->setWindowModality(Qt::NonModal);
}

void Window::Hide() {
    m_blnVisible = false;
    applyVisibility();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Window::unload(int16_t mode, bool ask) {
    if (!m_blnLoaded || (ask && m_blnQueryingUnload))
        return;
    const auto keep = weak_from_this().lock();
    if (ask && OnQueryUnload) {
        int16_t cancel = 0;
        const QScopedValueRollback asking(m_blnQueryingUnload, true);
        const auto handler = OnQueryUnload;
        handler(cancel, mode);
        if (cancel != 0 || !m_blnLoaded)
            return;
    }
    Hide();
    m_blnLoaded = false;
    if (const auto handler = OnUnload)
        handler();
}

} // namespace toolkit
