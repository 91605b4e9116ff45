#include "toolkit/WindowSystem.h"

#include "toolkit/Twips.h"
#include "toolkit/Window.h"
#include "toolkit/WindowHandles.h"
#include "toolkit/X11.h"

#include <QCursor>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace toolkit {

namespace {

// How often a running move looks at the cursor and the button itself.
constexpr std::chrono::milliseconds kMovePollInterval{20};

std::function<bool()> g_leftButtonSource;

Window* loadedWindow(int32_t handle) {
    Window* window = WindowFromHandle(handle);
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
    // With no window manager nobody answers that request, so the state is
    // written on the window itself; a hidden window gets it when shown.
    if (widget->isVisible() && widget->windowHandle() && !X11WindowManagerRunning())
        X11WriteStaysOnTop(widget->windowHandle()->winId(), on);
}

// The move the application carries out itself where no window manager
// offers one: the window follows the cursor until the left button is
// released. It runs in a local event loop that sleeps between events. The
// press that started it holds the pointer for the window until the release,
// so the moves and the release arrive wherever the cursor goes; a grab asked
// for on top of that, while the press holds it, lost them now and then.
// Should a release be lost all the same, the next press ends the move.
class MoveLoop : public QObject {
public:
    MoveLoop(Window& window, QPoint pressCursor)
        : m_handle(window.hwnd()), m_press(pressCursor), m_startLeft(window.Left()),
          m_startTop(window.Top()), m_widget(window.NativeWidget()) {}

    void run() {
        // A window hidden meanwhile, also on its way to be destroyed, ends
        // the move (eventFilter).
        QCoreApplication::instance()->installEventFilter(this);
        follow();
        if (!m_done)
            m_loop.exec();
        QCoreApplication::instance()->removeEventFilter(this);
        // With no window manager every step was carried out as asked; the
        // window stands on whole pixels.
        if (Window* now = WindowFromHandle(m_handle))
            now->SnapPositionToPixels();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Qt keeps its own account of the buttons at the window level; only
        // the delivery to the widgets is held back while the move runs.
        if (!watched->isWidgetType())
            return false;
        if (watched == m_widget && event->type() == QEvent::Hide)
            finish();
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
            finish();
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
        Window* window = WindowFromHandle(m_handle);
        if (!window || !window->NativeWidget()->isVisible()) {
            finish();
            return;
        }
        const QPoint delta = QCursor::pos() - m_press;
        const float left = m_startLeft + PixelsToTwips(delta.x());
        const float top = m_startTop + PixelsToTwips(delta.y());
        try {
            window->Move(left, top, window->Width(), window->Height());
        } catch (...) {
            finish();
        }
    }

    void finish() {
        m_done = true;
        m_loop.quit();
    }

    int32_t m_handle;
    QPoint m_press;
    float m_startLeft;
    float m_startTop;
    QObject* m_widget;
    bool m_done = false;
    QEventLoop m_loop;
};

// The move carried out by the window manager, so that its snapping and edge
// resistance apply: this waits in a local event loop until the button is up
// and the window manager has stopped moving the window. The window manager
// holds the pointer meanwhile, so the release never reaches the application
// as an event: the button is looked at every poll. The place comes from the
// window manager's reports. False when the window manager does not offer the
// move.
bool windowManagerMove(Window& window) {
    QWindow* native = window.NativeWidget()->windowHandle();
    if (!native || !native->startSystemMove())
        return false;
    constexpr int kQuietPolls = 5;
    constexpr int kMaxUpPolls = 100;
    QEventLoop loop;
    QTimer poll;
    uint64_t reports = window.Reports();
    int upPolls = 0;
    int quietPolls = 0;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&, handle = window.hwnd()]() noexcept {
        const Window* now = WindowFromHandle(handle);
        if (!now || !now->NativeWidget()->isVisible()) {
            loop.quit();
            return;
        }
        const bool quiet = now->Reports() == reports;
        reports = now->Reports();
        if (LeftButtonDown()) {
            upPolls = 0;
            return;
        }
        // After the release the window manager's last report comes in;
        // once reports stop for a few polls, it has arrived.
        ++upPolls;
        quietPolls = quiet ? quietPolls + 1 : 0;
        if (quietPolls >= kQuietPolls || upPolls >= kMaxUpPolls)
            loop.quit();
    });
    poll.start(kMovePollInterval);
    loop.exec();
    return true;
}

bool g_moving = false;

int32_t systemMove(Window& window, const int32_t* lParam) {
    // No move while another runs, of a hidden window or one not in the normal
    // state, or once the button is up: it may have come up before the move
    // could start.
    if (g_moving || !window.NativeWidget()->isVisible() || window.WindowState() != vbNormal ||
        !LeftButtonDown())
        return 0;
    QPoint press = QCursor::pos();
    if (lParam) {
        const auto packed = static_cast<uint32_t>(*lParam);
        press = QPoint(static_cast<int16_t>(packed & 0xFFFFu), static_cast<int16_t>(packed >> 16));
    }
    const QScopedValueRollback moving(g_moving, true);
    const std::shared_ptr<Window> keep = window.weak_from_this().lock();
    if (!windowManagerMove(window))
        MoveLoop(window, press).run();
    return 1;
}

} // namespace

int32_t SetWindowPos(int32_t hWnd, int32_t hWndInsertAfter, int32_t, int32_t, int32_t, int32_t,
                     int32_t wFlags) {
    Window* window = loadedWindow(hWnd);
    constexpr int32_t keep = SWP_NOSIZE | SWP_NOMOVE;
    constexpr int32_t known = keep | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (!window || (wFlags & ~known) != 0 || (wFlags & keep) != keep)
        return 0;
    if (hWndInsertAfter != HWND_TOP && hWndInsertAfter != HWND_BOTTOM &&
        hWndInsertAfter != HWND_TOPMOST && hWndInsertAfter != HWND_NOTOPMOST)
        return 0;
    if ((wFlags & SWP_SHOWWINDOW) && !window->Visible())
        window->SetVisible(true);
    QWidget* widget = window->NativeWidget();
    // HWND_TOP leaves the keep-on-top state as it is; the bottom is never on top.
    if (hWndInsertAfter != HWND_TOP)
        setStaysOnTop(widget, hWndInsertAfter == HWND_TOPMOST);
    if (hWndInsertAfter == HWND_BOTTOM)
        widget->lower();
    else
        widget->raise();
    return 1;
}

int32_t SendMessage(int32_t hWnd, int32_t wMsg, int32_t wParam, int32_t* lParam) {
    Window* window = loadedWindow(hWnd);
    if (window && wMsg == WM_SYSCOMMAND && wParam == SC_MOVE + HTCAPTION)
        return systemMove(*window, lParam);
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

bool LeftButtonDown() {
    // A copy: the source may replace itself while it runs.
    if (const auto source = g_leftButtonSource)
        return source();
    if (const auto down = X11LeftButtonDown())
        return *down;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
           QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
}

void SetLeftButtonSource(std::function<bool()> source) {
    g_leftButtonSource = std::move(source);
}

bool IsTopMost(int32_t hWnd) {
    const Window* window = loadedWindow(hWnd);
    return window && window->NativeWidget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

uint64_t NativeWindowId(int32_t hWnd) {
    const Window* window = WindowFromHandle(hWnd);
    // The QWindow's id, not the widget's: Qt makes a new X window when the
    // stay-on-top hint changes while hidden, and the widget keeps the old id.
    const QWindow* handle = window ? window->NativeWidget()->windowHandle() : nullptr;
    return handle ? static_cast<uint64_t>(handle->winId()) : 0;
}

} // namespace toolkit
