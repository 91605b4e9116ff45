#include "toolkit/Window.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowHandles.h"
#include "toolkit/X11.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace toolkit {

namespace {

// Width of the border drawn around a window without a caption bar; a
// sizable one is dragged by it.
constexpr int kSizableBorderPx = 3;
constexpr int kFixedBorderPx = 1;
constexpr int kMaxResizeNesting = 16;
// The longest wait for the window manager's answer about the frame.
constexpr int kFrameWaitMs = 500;

// The primary screen's available area, where screen twips start.
QRect desktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The frame the window manager last put around a window with a caption bar:
// the best guess for the next one until it is framed too.
QMargins g_lastCaptionFrame;

} // namespace

Window::Window(const WindowStyle& style)
    : m_style(style), m_lngBackColor(vbButtonFace), m_lngForeColor(vbButtonText) {
    const int border = m_style.TitleBar ? 0 : m_style.Sizable ? kSizableBorderPx : kFixedBorderPx;
    m_widget = new WindowFrame(this, border, m_style.Sizable && border > 0);
    // A tool window is a dialog that names itself a toolbar when it is made
    // (NameAsToolbar), not a Qt::Tool: Qt raises those just before mapping
    // them, and weston's window manager answers a request on a window not yet
    // mapped by moving it to its frame's offset, where it then maps it; it
    // also maps a utility window by that offset. Qt names the owner only of
    // dialogs and tools.
    Qt::WindowFlags flags = m_style.ToolWindow ? Qt::Dialog : Qt::Window;
    if (!m_style.TitleBar) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint;
        flags.setFlag(Qt::WindowMinimizeButtonHint, m_style.MinButton);
        flags.setFlag(Qt::WindowMaximizeButtonHint, m_style.MaxButton);
    }
    m_widget->setWindowFlags(flags);
    m_widget->setAttribute(Qt::WA_QuitOnClose, false);
    m_lngHwnd = RegisterWindowHandle(this);
    if (m_style.TitleBar)
        m_frame = g_lastCaptionFrame;
    SetClientSize(4800.0f, 3600.0f);
    // Knowing the frame before the window is mapped lets it map in one piece
    // with its client area where the twips put it (read when it is mapped).
    // The size hints just sent take part in the answer: a fixed window gets
    // no resize handle.
    if (m_style.TitleBar)
        m_framePending = RequestFrameExtents(m_widget);
}

// Until the window manager's answer is in, every look at the frame reads
// the property once more; the map reads it a last time. The first look
// waits for the answer to the request sent when the window was made
// (openbox answers within a few round trips, longer on a loaded core): a
// size computed from a frame not known yet, such as the control panel's
// client area or its height collapsed to the menu bar, would otherwise leave
// the client area short by the frame. A window without a caption bar never
// asks and has none.
QMargins Window::frame(bool last) const {
    if (!m_framePending)
        return m_frame;
    const QDeadlineTimer deadline(std::exchange(m_frameWaited, true) ? 0 : kFrameWaitMs);
    auto asked = FrameExtents(m_widget);
    while (!asked && !deadline.hasExpired()) {
        QThread::msleep(2);
        asked = FrameExtents(m_widget);
    }
    m_framePending = !asked && !last;
    if (asked && *asked != m_frame)
        g_lastCaptionFrame = m_frame = *asked;
    return m_frame;
}

Window::~Window() {
    setMapQueued(false);
    ForgetWindowHandle(m_lngHwnd);
    if (m_modalLoop)
        m_modalLoop->quit();
    for (Window* owned : m_owned)
        owned->m_owner = nullptr;
    if (m_owner)
        std::erase(m_owner->m_owned, this);
    // Its filters stay until it goes, but pass nothing on once it forgets.
    m_widget->Forget();
    m_widget->hide();
    // The widget may be the receiver of the event being handled right now.
    m_widget->deleteLater();
}

QColor Window::FrameBackColor() const { return ToQColor(m_lngBackColor); }

// One change of the twips, one request to the window system, then the size
// change notification when the size changed.
void Window::Move(float left, float top, float width, float height) {
    CheckCoordinate(left);
    CheckCoordinate(top);
    CheckLength(width);
    CheckLength(height);
    const bool resized = width != Width() || height != Height();
    applyGeometry(m_geometry.Set(left, top, width, height));
    if (resized)
        raiseResize();
}

// The border drawn inside the window counts with the window manager's frame.
float Window::ScaleWidth() const {
    const QMargins f = frame() + m_widget->BorderPx();
    return std::max(0.0f, Width() - PixelsToTwips(f.left() + f.right()));
}

float Window::ScaleHeight() const {
    const QMargins f = frame() + m_widget->BorderPx();
    return std::max(0.0f, Height() - PixelsToTwips(f.top() + f.bottom()) - menuBarHeight());
}

void Window::SetClientSize(float width, float height) {
    const QMargins f = frame() + m_widget->BorderPx();
    Move(Left(), Top(), width + PixelsToTwips(f.left() + f.right()),
         height + PixelsToTwips(f.top() + f.bottom()) + menuBarHeight());
}

float Window::menuBarHeight() const {
    const QMenuBar* bar = m_widget->MenuBarIfAny();
    return bar ? PixelsToTwips(bar->sizeHint().height()) : 0.0f;
}

void Window::SetIcon(const char* const* xpm) { m_widget->setWindowIcon(QIcon(QPixmap(xpm))); }

void Window::SetApplicationIcon(const char* const* xpm) {
    QGuiApplication::setWindowIcon(QIcon(QPixmap(xpm)));
}

void Window::SetStartUpPosition(int16_t value) {
    if (value != vbStartUpManual && value != vbStartUpScreen)
        throw Error::InvalidPropertyValue();
    m_intStartUpPosition = value;
}

void Window::centre() {
    const QSize desk = desktop().size();
    Move((PixelsToTwips(desk.width()) - Width()) / 2.0f,
         (PixelsToTwips(desk.height()) - Height()) / 2.0f, Width(), Height());
}

void Window::raiseResize() {
    // A handler that keeps changing the size would otherwise recurse for ever.
    if (m_intResizeDepth >= kMaxResizeNesting || !OnResize)
        return;
    const QScopedValueRollback depth(m_intResizeDepth, m_intResizeDepth + 1);
    const auto handler = OnResize;
    handler();
}

// Hands the twips to the native widget. A hidden one only keeps them, and
// the map puts the window there. A shown one asks the window system; Qt
// sends a change of place alone as a move and of size alone as a resize, so
// that what a window manager imposed on the other stays.
void Window::applyGeometry(WindowGeometry::Which which) {
    const QRect outer = m_geometry.OuterPixels(desktop().topLeft());
    const QMargins f = frame();
    QRect client = outer.marginsRemoved(f);
    client.setSize(client.size().expandedTo(QSize(1, 1)));
    m_widget->Layout(client.size());
    // A fixed window with a caption bar tells the window manager that its
    // size is not the user's to change. Shown, it is resized by Qt at once,
    // from the place Qt last heard of, which may be older than the last one
    // asked for: that place is then asked for again.
    const bool fixed = m_style.TitleBar && !m_style.Sizable;
    const bool qtMoved = fixed && m_widget->isVisible() && m_widget->size() != client.size();
    if (fixed)
        m_widget->setFixedSize(client.size());
    const QRect before = std::exchange(m_handedOver, client);
    if (!m_widget->isVisible()) {
        m_requested = client;
        if (m_style.TitleBar && f.isNull()) {
            // The caption bar's size is not known: the window manager is
            // asked to put the frame's corner at the place.
            m_widget->resize(client.size());
            m_widget->move(outer.topLeft());
        } else {
            m_widget->setGeometry(client);
        }
        return;
    }
    // Qt asks X11 for the whole rectangle every time; the window is asked
    // for the parts that changed alone where that can be done. A part the
    // code did not change is not asked for: it may stand where a report of a
    // passing state put it, and asking would take the window back there.
    const QRect asked = m_requested;
    const auto changed = [](bool set, int now, int was, int wanted) {
        return set && (now != was || now != wanted) ? std::optional<int>(now) : std::nullopt;
    };
    const auto placed = [&](bool set, int now, int was, int wanted) {
        return qtMoved ? std::optional<int>(set ? now : wanted) : changed(set, now, was, wanted);
    };
    const X11Change change{placed(which.left, client.x(), before.x(), asked.x()),
                           placed(which.top, client.y(), before.y(), asked.y()),
                           changed(which.width, client.width(), before.width(), asked.width()),
                           changed(which.height, client.height(), before.height(), asked.height())};
    const QWindow* native = m_widget->windowHandle();
    if (!native || !native->handle() || !X11Configure(native->winId(), change)) {
        m_widget->setGeometry(client);
        m_requested = client;
        return;
    }
    // The window ends where all requests together put it: what this one
    // leaves out stays as asked before, even if a report of a passing state
    // came in between.
    m_requested = QRect(change.x.value_or(asked.x()), change.y.value_or(asked.y()),
                        change.width.value_or(asked.width()),
                        change.height.value_or(asked.height()));
}

bool Window::GeometryOutstanding() const {
    return m_blnMapQueued || m_reportQueued || m_reportDeferred ||
           (m_widget->isVisible() && m_lastRead != m_requested);
}

// Collects the move and resize events of one report; they are read together,
// from the event loop, once both are in.
void Window::FrameReported() {
    if (!std::exchange(m_reportQueued, true))
        PostHandler([this] {
            m_reportQueued = false;
            readReport();
        });
}

void Window::readReport() {
    ++m_reports;
    const QWindow* native = m_widget->windowHandle();
    if (!m_widget->isVisible() || !native)
        return;
    // Until the window manager maps the window it may not have handled the
    // place asked before the map (openbox takes it as a request), so the X
    // server still has the window where Qt created it; that is read once the
    // window is on screen.
    if (!X11Viewable(native->winId()).value_or(true)) {
        m_reportDeferred = true;
        return;
    }
    m_reportDeferred = false;
    // Where the X server has the window now; elsewhere the reports as Qt
    // passed them on.
    const std::optional<QRect> server = X11ClientGeometry(native->winId());
    const QRect client = server.value_or(m_widget->Reported());
    if (client.isEmpty())
        return;
    const float scaleWidth = ScaleWidth();
    const float scaleHeight = ScaleHeight();
    // The window manager has framed the window, or framed it anew: the outer
    // rectangle takes the frame in around the client area. On X, Qt's margins
    // of a window no frame holds are the server's size less its own, which a
    // stale report makes nonsense, even negative.
    const bool mayBeFramed = m_style.TitleBar && (!server || m_widget->Framed());
    const QMargins framed = mayBeFramed ? native->frameMargins() : QMargins();
    const bool reframed = !framed.isNull() && framed != m_frame;
    if (reframed)
        g_lastCaptionFrame = m_frame = framed;
    // weston moves a window's frame without the report a window manager owes
    // the window, so Qt keeps the old place and opens the window's menus from
    // there. The window reports the place the X server has to itself, once for
    // each place, so that a difference in rounding cannot repeat it.
    const qreal ratio = native->devicePixelRatio();
    const QPoint believed(qRound(native->x() * ratio), qRound(native->y() * ratio));
    if (believed != client.topLeft() && m_toldQt != client.topLeft()) {
        m_toldQt = client.topLeft();
        X11ReportPlace(native->winId(), client);
    }
    const QRect outer = client.marginsAdded(frame());
    m_lastRead = client;
    m_handedOver = client;
    if (reframed)
        m_requested = client;
    const bool resized = m_geometry.Reported(outer, desktop().topLeft());
    m_widget->Layout(client.size());
    if (ScaleWidth() != scaleWidth || ScaleHeight() != scaleHeight || (resized && !reframed))
        PostHandler([this] { raiseResize(); });
}

void Window::SnapPositionToPixels() {
    m_geometry.Set(PixelsToTwips(TwipsToPixels(Left())), PixelsToTwips(TwipsToPixels(Top())),
                   Width(), Height());
}

// A drag of the window's own border: the size change is the user's, so its
// notification is queued like one from the window manager.
void Window::FrameBorderDragged(const QRect& outer) {
    const QPoint o = desktop().topLeft();
    const WindowGeometry::Which set =
        m_geometry.Set(PixelsToTwips(outer.x() - o.x()), PixelsToTwips(outer.y() - o.y()),
                       PixelsToTwips(outer.width()), PixelsToTwips(outer.height()));
    applyGeometry();
    if (set.width || set.height)
        PostHandler([this] { raiseResize(); });
}

void Window::FrameMouse(MouseKind kind, const MouseArgs& args) {
    PostHandler([this, kind, args] { RaiseMouse(kind, args, OnMouseDown, OnMouseMove, OnMouseUp); });
}

void Window::FrameCloseRequested() {
    PostHandler([this] { unload(vbFormControlMenu, true); });
}

void Window::PostHandler(std::function<void()> handler) {
    PostToDispatch([frame = QPointer<WindowFrame>(m_widget), self = weak_from_this(),
                    h = std::move(handler)] {
        const auto keep = self.lock();
        // The window forgets its widget when it goes.
        if (frame && frame->Listening())
            h();
    });
}

void Window::SetBackColor(int32_t value) {
    CheckColor(value);
    m_lngBackColor = value;
    // The client area shows the frame's painting through.
    m_widget->update();
}

void Window::SetForeColor(int32_t value) {
    CheckColor(value);
    m_lngForeColor = value;
}

} // namespace toolkit
