#include "toolkit/WindowSystem.h"

#include "toolkit/Twips.h"
#include "toolkit/Window.h"

#include <QCursor>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#ifdef VORN_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace toolkit {

namespace {

// How often a running move looks at the button itself, in case the window
// system kept the release from it.
constexpr std::chrono::milliseconds kMovePollInterval{20};

std::function<bool()>& leftButtonSource() {
    static std::function<bool()> source;
    return source;
}

QGuiApplication* guiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

#ifdef VORN_HAVE_XCB

template <class T> using XReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_connection_t* x11Connection() {
    auto* app = guiApplication();
    if (!app)
        return nullptr;
    const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    const xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    return it.rem ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const XReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr),
                                                &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

xcb_window_t windowProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
    const auto cookie = xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
    const XReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                 &std::free);
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    xcb_window_t value = XCB_WINDOW_NONE;
    std::memcpy(&value, xcb_get_property_value(reply.get()), sizeof value);
    return value;
}

// The handshake of the window-manager hints: the root names a window that
// names itself. A property left behind by a window manager that has gone
// names a window that no longer answers.
bool windowManagerRunning(xcb_connection_t* c) {
    const xcb_atom_t check = internAtom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t child = windowProperty(c, rootWindow(c), check);
    return child != XCB_WINDOW_NONE && windowProperty(c, child, check) == child;
}

bool windowManagerSupports(xcb_connection_t* c, const char* name) {
    const xcb_atom_t supported = internAtom(c, "_NET_SUPPORTED");
    const xcb_atom_t wanted = internAtom(c, name);
    const auto cookie = xcb_get_property(c, 0, rootWindow(c), supported, XCB_ATOM_ATOM, 0, 4096);
    const XReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                 &std::free);
    if (!reply || reply->type != XCB_ATOM_ATOM || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

// _NET_FRAME_EXTENTS: left, right, top and bottom.
std::optional<QMargins> frameExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t atom) {
    const auto cookie = xcb_get_property(c, 0, window, atom, XCB_ATOM_CARDINAL, 0, 4);
    const XReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                 &std::free);
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 16)
        return std::nullopt;
    uint32_t v[4];
    std::memcpy(v, xcb_get_property_value(reply.get()), sizeof v);
    // Nothing sane is wider than this; a broken answer is no answer.
    constexpr uint32_t kWidest = 1000;
    if (std::any_of(v, v + 4, [](uint32_t e) { return e > kWidest; }))
        return std::nullopt;
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                    static_cast<int>(v[3]));
}

void writeStaysOnTopState(xcb_connection_t* c, xcb_window_t window, bool on) {
    const xcb_atom_t state = internAtom(c, "_NET_WM_STATE");
    const xcb_atom_t above = internAtom(c, "_NET_WM_STATE_ABOVE");
    const xcb_atom_t staysOnTop = internAtom(c, "_NET_WM_STATE_STAYS_ON_TOP");
    std::vector<xcb_atom_t> atoms;
    const auto cookie = xcb_get_property(c, 0, window, state, XCB_ATOM_ATOM, 0, 1024);
    const XReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                 &std::free);
    if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const int count = xcb_get_property_value_length(reply.get()) / 4;
        for (int i = 0; i < count; ++i) {
            if (data[i] != above && data[i] != staysOnTop)
                atoms.push_back(data[i]);
        }
    }
    if (on) {
        atoms.push_back(above);
        atoms.push_back(staysOnTop);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(c);
}

std::optional<bool> x11LeftButtonDown(xcb_connection_t* c) {
    const auto cookie = xcb_query_pointer(c, rootWindow(c));
    const XReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(c, cookie, nullptr),
                                                  &std::free);
    if (!reply)
        return std::nullopt;
    return (reply->mask & XCB_KEY_BUT_MASK_BUTTON_1) != 0;
}

#endif // VORN_HAVE_XCB

Window* loadedWindow(int32_t handle) {
    Window* window = Window::FromHandle(handle);
    return window && window->Loaded() ? window : nullptr;
}

void setStaysOnTop(QWidget* widget, bool on) {
    Qt::WindowFlags flags = widget->windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) != on) {
        flags.setFlag(Qt::WindowStaysOnTopHint, on);
        // QWidget::setWindowFlags would hide the window. These keep it on the
        // screen and let the platform ask the window manager for the state.
        widget->overrideWindowFlags(flags);
        if (QWindow* handle = widget->windowHandle())
            handle->setFlags(flags);
    }
#ifdef VORN_HAVE_XCB
    // With no window manager nobody answers that request, so the state is
    // written on the window itself; a hidden window gets it when shown.
    if (widget->isVisible() && widget->windowHandle()) {
        if (xcb_connection_t* c = x11Connection(); c && !windowManagerRunning(c))
            writeStaysOnTopState(c, static_cast<xcb_window_t>(widget->windowHandle()->winId()), on);
    }
#endif
}

// The interactive move: the window follows the cursor until the left button
// is released. It runs in a local event loop that sleeps between events, with
// the mouse grabbed so that the moves arrive wherever the cursor goes.
class MoveLoop : public QObject {
public:
    MoveLoop(int32_t handle, QPoint pressCursor) : m_handle(handle), m_press(pressCursor) {}

    void run() {
        Window* window = Window::FromHandle(m_handle);
        const std::shared_ptr<Window> keep = window->weak_from_this().lock();
        const QPointer<QWidget> widget = window->NativeWidget();
        m_startLeft = window->Left();
        m_startTop = window->Top();
        QEventLoop loop;
        m_loop = &loop;
        QTimer poll;
        poll.setInterval(kMovePollInterval);
        QObject::connect(&poll, &QTimer::timeout, this, [this] { this->poll(); });
        QCoreApplication::instance()->installEventFilter(this);
        widget->grabMouse();
        poll.start();
        follow();
        if (!m_done)
            loop.exec();
        poll.stop();
        QCoreApplication::instance()->removeEventFilter(this);
        if (widget && QWidget::mouseGrabber() == widget)
            widget->releaseMouse();
        m_loop = nullptr;
        // With no window manager every step was carried out as asked; the
        // window stands on whole pixels.
        if (Window* now = Window::FromHandle(m_handle))
            now->SnapPositionToPixels();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Qt keeps its own account of the buttons at the window level; only
        // the delivery to the widgets is held back while the move runs.
        if (!watched->isWidgetType())
            return false;
        switch (event->type()) {
        case QEvent::MouseMove:
            follow();
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                follow();
                finish();
            }
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            return true;
        default:
            return false;
        }
    }

private:
    void follow() noexcept {
        if (m_done)
            return;
        // The window may be hidden or destroyed by a handler run meanwhile.
        Window* window = Window::FromHandle(m_handle);
        if (!window || !window->NativeWidget()->isVisible()) {
            finish();
            return;
        }
        const QPoint delta = QCursor::pos() - m_press;
        const float left = m_startLeft + PixelsToTwips(delta.x());
        const float top = m_startTop + PixelsToTwips(delta.y());
        if (left == window->Left() && top == window->Top())
            return;
        try {
            window->Move(left, top, window->Width(), window->Height());
        } catch (...) {
            finish();
        }
    }

    void poll() noexcept {
        follow();
        if (m_done)
            return;
        // A release normally arrives as an event; one poll of grace lets it.
        if (LeftButtonDown())
            m_upPolls = 0;
        else if (++m_upPolls >= 2)
            finish();
    }

    void finish() {
        m_done = true;
        if (m_loop)
            m_loop->quit();
    }

    int32_t m_handle;
    QPoint m_press;
    float m_startLeft = 0;
    float m_startTop = 0;
    bool m_done = false;
    int m_upPolls = 0;
    QEventLoop* m_loop = nullptr;
};

// The move carried out by the window manager, so that its snapping and edge
// resistance apply: this waits in a local event loop until the button is up
// and the window manager has stopped moving the window, then takes the place
// from its final report.
class WindowManagerMove : public QObject {
public:
    explicit WindowManagerMove(int32_t handle) : m_handle(handle) {}

    // False when the window manager does not offer the move.
    bool run() {
        Window* window = Window::FromHandle(m_handle);
        const std::shared_ptr<Window> keep = window->weak_from_this().lock();
        QWindow* native = window->NativeWidget()->windowHandle();
        if (!native || !native->startSystemMove())
            return false;
        QEventLoop loop;
        m_loop = &loop;
        QTimer poll;
        poll.setInterval(kMovePollInterval);
        QObject::connect(&poll, &QTimer::timeout, this, [this] { this->poll(); });
        m_reports = window->Reports();
        poll.start();
        loop.exec();
        poll.stop();
        m_loop = nullptr;
        if (Window* now = Window::FromHandle(m_handle))
            now->SyncPositionFromScreen();
        return true;
    }

private:
    void poll() noexcept {
        Window* window = Window::FromHandle(m_handle);
        if (!window || !window->NativeWidget()->isVisible()) {
            finish();
            return;
        }
        const uint64_t reports = window->Reports();
        const bool quiet = reports == m_reports;
        m_reports = reports;
        if (LeftButtonDown()) {
            m_upPolls = 0;
            return;
        }
        // After the release the window manager's last report comes in;
        // once reports stop for a few polls, it has arrived.
        ++m_upPolls;
        m_quietPolls = quiet ? m_quietPolls + 1 : 0;
        if (m_quietPolls >= kQuietPolls || m_upPolls >= kMaxUpPolls)
            finish();
    }

    void finish() {
        if (m_loop)
            m_loop->quit();
    }

    static constexpr int kQuietPolls = 5;
    static constexpr int kMaxUpPolls = 100;
    int32_t m_handle;
    uint64_t m_reports = 0;
    int m_upPolls = 0;
    int m_quietPolls = 0;
    QEventLoop* m_loop = nullptr;
};

bool windowManagerOffersMoves() {
#ifdef VORN_HAVE_XCB
    if (xcb_connection_t* c = x11Connection())
        return windowManagerRunning(c);
#endif
    return false;
}

bool g_moving = false;

int32_t systemMove(Window& window, const int32_t* lParam) {
    if (g_moving || !window.NativeWidget()->isVisible() || window.WindowState() != vbNormal)
        return 0;
    // The button may have come up before the move could start.
    if (!LeftButtonDown())
        return 0;
    QPoint press = QCursor::pos();
    if (lParam) {
        const auto packed = static_cast<uint32_t>(*lParam);
        press = QPoint(static_cast<int16_t>(packed & 0xFFFFu), static_cast<int16_t>(packed >> 16));
    }
    g_moving = true;
    struct Reset {
        ~Reset() { g_moving = false; }
    } reset;
    if (windowManagerOffersMoves() && WindowManagerMove(window.hwnd()).run())
        return 1;
    MoveLoop(window.hwnd(), press).run();
    return 1;
}

int32_t undoFocusedEdit(Window& window) {
    auto* edit = qobject_cast<QLineEdit*>(window.NativeWidget()->focusWidget());
    if (!edit || edit->isReadOnly() || !edit->isUndoAvailable())
        return 0;
    // The box hears of it as of an edit by the user (textEdited).
    edit->undo();
    return 1;
}

} // namespace

int32_t SetWindowPos(int32_t hWnd, int32_t hWndInsertAfter, int32_t, int32_t, int32_t, int32_t,
                     int32_t wFlags) {
    Window* window = loadedWindow(hWnd);
    if (!window)
        return 0;
    constexpr int32_t keep = SWP_NOSIZE | SWP_NOMOVE;
    constexpr int32_t known = keep | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if ((wFlags & ~known) != 0 || (wFlags & keep) != keep)
        return 0;
    if (hWndInsertAfter != HWND_TOP && hWndInsertAfter != HWND_BOTTOM &&
        hWndInsertAfter != HWND_TOPMOST && hWndInsertAfter != HWND_NOTOPMOST)
        return 0;
    if ((wFlags & SWP_SHOWWINDOW) && !window->Visible())
        window->SetVisible(true);
    QWidget* widget = window->NativeWidget();
    switch (hWndInsertAfter) {
    case HWND_TOPMOST:
        setStaysOnTop(widget, true);
        widget->raise();
        break;
    case HWND_NOTOPMOST:
        setStaysOnTop(widget, false);
        widget->raise();
        break;
    case HWND_TOP:
        widget->raise();
        break;
    default:
        setStaysOnTop(widget, false);
        widget->lower();
        break;
    }
    return 1;
}

int32_t SendMessage(int32_t hWnd, int32_t wMsg, int32_t wParam, int32_t* lParam) {
    Window* window = loadedWindow(hWnd);
    if (!window)
        return 0;
    if (wMsg == WM_SYSCOMMAND && wParam == SC_MOVE + HTCAPTION)
        return systemMove(*window, lParam);
    if (wMsg == EM_UNDO)
        return undoFocusedEdit(*window);
    return 0;
}

int32_t ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    return 1;
}

int32_t GetCursorPos(int32_t& x, int32_t& y) {
    const QPoint p = QCursor::pos();
    x = p.x();
    y = p.y();
    return 1;
}

int32_t SetCursorPos(int32_t x, int32_t y) {
    QCursor::setPos(x, y);
    return 1;
}

bool LeftButtonDown() {
    if (leftButtonSource()) {
        const auto source = leftButtonSource();
        return source();
    }
#ifdef VORN_HAVE_XCB
    if (xcb_connection_t* c = x11Connection()) {
        if (const auto down = x11LeftButtonDown(c))
            return *down;
    }
#endif
    return guiApplication() && QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

void SetLeftButtonSource(std::function<bool()> source) {
    leftButtonSource() = std::move(source);
}

int32_t SetFocus(int32_t hWnd) {
    Window* window = loadedWindow(hWnd);
    if (!window || !window->NativeWidget()->isVisible())
        return 0;
    QWidget* widget = window->NativeWidget();
    widget->activateWindow();
    // The window passes the focus on to the widget that had it last.
    if (QWidget* focus = widget->focusWidget())
        focus->setFocus(Qt::OtherFocusReason);
    return hWnd;
}

bool IsTopMost(int32_t hWnd) {
    const Window* window = loadedWindow(hWnd);
    return window && window->NativeWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

std::optional<QMargins> AskFrameExtents(QWidget* widget) {
#ifdef VORN_HAVE_XCB
    xcb_connection_t* c = x11Connection();
    if (!c || !widget || !widget->isWindow() || !windowManagerRunning(c) ||
        !windowManagerSupports(c, "_NET_REQUEST_FRAME_EXTENTS"))
        return std::nullopt;
    const auto window = static_cast<xcb_window_t>(widget->winId());
    const xcb_atom_t extents = internAtom(c, "_NET_FRAME_EXTENTS");
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = internAtom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    // The answer is a property on the window. Its change notice goes to Qt's
    // event queue, so the property itself is read until it is there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    for (;;) {
        if (const auto margins = frameExtents(c, window, extents))
            return margins;
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
#else
    (void)widget;
    return std::nullopt;
#endif
}

uint64_t NativeWindowId(int32_t hWnd) {
    const Window* window = Window::FromHandle(hWnd);
    if (!window)
        return 0;
    // The QWindow's id, not the widget's: Qt makes a new X window when the
    // stay-on-top hint changes while hidden, and the widget keeps the old id.
    const QWindow* handle = window->NativeWidget()->windowHandle();
    return handle ? static_cast<uint64_t>(handle->winId()) : 0;
}

} // namespace toolkit
