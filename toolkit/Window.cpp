#include "toolkit/Window.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/Twips.h"
#include "toolkit/WindowSystem.h"

#include <QEventLoop>
#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace toolkit {

namespace {

// Width of the border drawn around a window without a caption bar; a
// sizable one is dragged by it.
constexpr int kSizableBorderPx = 3;
constexpr int kFixedBorderPx = 1;
constexpr int kMaxResizeNesting = 16;
// How long the window system must stay quiet about a window before a request
// that never came back as sent is taken as carried out as far as it will be.
constexpr int kSettleMs = 1000;
// How many settle periods a window with a caption bar waits for its frame.
constexpr int kFrameChecks = 10;

std::unordered_map<int32_t, Window*>& handles() {
    static std::unordered_map<int32_t, Window*> map;
    return map;
}

int32_t nextHandle() {
    static int32_t next = 0x00010010;
    next += 4;
    return next;
}

QPoint desktopOrigin() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry().topLeft();
    return {};
}

// The frame the window manager last put around a window with a caption bar:
// the best guess for the next one until it is framed too.
QMargins& lastCaptionFrame() {
    static QMargins frame;
    return frame;
}

} // namespace

// The native top-level widget: draws the border, lets a sizable border be
// dragged and reports what the window system does to the window.
class WindowWidget : public QWidget {
public:
    explicit WindowWidget(Window* window) : m_window(window) { setMouseTracking(true); }
    Window* m_window;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_window)
            return;
        QPainter p(this);
        const QColor back = ToQColor(m_window->BackColor());
        p.fillRect(rect(), back);
        if (m_window->borderPx() > 0) {
            p.setPen(back.darker(160));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    // The window system's reports about the native window: spontaneous move
    // and resize events of the QWindow, before the widget hears of them.
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (m_window && e->spontaneous() &&
            (e->type() == QEvent::Move || e->type() == QEvent::Resize))
            m_window->nativeReported(e);
        return QWidget::eventFilter(watched, e);
    }
    void changeEvent(QEvent* e) override {
        QWidget::changeEvent(e);
        if (!m_window)
            return;
        if (e->type() == QEvent::WindowStateChange)
            m_window->nativeStateChanged();
        else if (e->type() == QEvent::ActivationChange && isActiveWindow())
            m_window->raiseOwned();
    }
    void closeEvent(QCloseEvent* e) override {
        // The window system asks; the application decides, from the event loop.
        e->ignore();
        if (m_window)
            m_window->PostHandler([w = m_window] { w->unload(vbFormControlMenu, true); });
    }
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        m_edges = edgesAt(e->position().toPoint());
        if (e->button() == Qt::LeftButton && m_edges) {
            m_pressGlobal = e->globalPosition().toPoint();
            m_pressFrame = frameGeometry();
        } else {
            m_edges = 0;
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        e->accept();
        if (!m_window)
            return;
        if (!(e->buttons() & Qt::LeftButton) || !m_edges) {
            const int edges = edgesAt(e->position().toPoint());
            setCursor((edges & (kLeft | kRight)) ? Qt::SizeHorCursor
                      : edges                   ? Qt::SizeVerCursor
                                                : Qt::ArrowCursor);
            return;
        }
        const QPoint d = e->globalPosition().toPoint() - m_pressGlobal;
        QRect r = m_pressFrame;
        const int minimum = 2 * m_window->borderPx() + 1;
        if (m_edges & kLeft)
            r.setLeft(std::min(r.left() + d.x(), r.right() - minimum + 1));
        if (m_edges & kRight)
            r.setRight(std::max(r.right() + d.x(), r.left() + minimum - 1));
        if (m_edges & kTop)
            r.setTop(std::min(r.top() + d.y(), r.bottom() - minimum + 1));
        if (m_edges & kBottom)
            r.setBottom(std::max(r.bottom() + d.y(), r.top() + minimum - 1));
        m_window->userResized(r);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        e->accept();
        m_edges = 0;
    }

private:
    enum { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

    int edgesAt(QPoint p) const {
        if (!m_window || !m_window->Style().Sizable || m_window->Style().TitleBar)
            return 0;
        const int b = m_window->borderPx();
        int edges = 0;
        if (p.x() < b)
            edges |= kLeft;
        if (p.x() >= width() - b)
            edges |= kRight;
        if (p.y() < b)
            edges |= kTop;
        if (p.y() >= height() - b)
            edges |= kBottom;
        return edges;
    }

    int m_edges = 0;
    QPoint m_pressGlobal;
    QRect m_pressFrame;
};

// The client area: holds the window's widgets and reports the mouse on the
// part of it that no widget covers.
class WindowClientWidget : public QWidget {
public:
    WindowClientWidget(Window* window, QWidget* parent) : QWidget(parent), m_window(window) {
        setMouseTracking(true);
    }
    Window* m_window;

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_window)
            QPainter(this).fillRect(rect(), ToQColor(m_window->BackColor()));
    }
    void mousePressEvent(QMouseEvent* e) override { forward(MouseKind::Down, e); }
    void mouseMoveEvent(QMouseEvent* e) override { forward(MouseKind::Move, e); }
    void mouseReleaseEvent(QMouseEvent* e) override { forward(MouseKind::Up, e); }

private:
    void forward(MouseKind kind, QMouseEvent* e) {
        e->accept();
        if (m_window)
            m_window->mouse(kind, ToMouseArgs(kind, *e));
    }
};

Window::Window(const WindowStyle& style)
    : m_style(style), m_lngBackColor(vbButtonFace), m_lngForeColor(vbButtonText),
      m_alive(std::make_shared<int>(0)) {
    m_widget = new WindowWidget(this);
    Qt::WindowFlags flags = m_style.ToolWindow ? Qt::Tool : Qt::Window;
    if (!m_style.TitleBar) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint;
        if (m_style.MinButton)
            flags |= Qt::WindowMinimizeButtonHint;
        if (m_style.MaxButton)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    m_widget->setWindowFlags(flags);
    m_widget->setAttribute(Qt::WA_QuitOnClose, false);
    m_client = new WindowClientWidget(this, m_widget);
    m_settle = new QTimer(m_widget);
    m_settle->setSingleShot(true);
    m_settle->setInterval(kSettleMs);
    QObject::connect(m_settle, &QTimer::timeout, m_widget, [this] { settled(); });
    m_lngHwnd = nextHandle();
    handles()[m_lngHwnd] = this;
    if (m_style.TitleBar)
        m_frame = lastCaptionFrame();
    setDefaultGeometry();
    // Knowing the frame before the window is mapped lets it map in one piece
    // with its client area where the twips put it; a frame learnt only from
    // the window manager's reports arrives while it is still placing the
    // window. The size hints just sent take part in the answer: a fixed
    // window gets no resize handle.
    if (m_style.TitleBar) {
        if (const auto asked = AskFrameExtents(m_widget); asked && *asked != m_frame) {
            m_frame = *asked;
            lastCaptionFrame() = *asked;
            setDefaultGeometry();
        }
    }
}

void Window::setDefaultGeometry() {
    const float border = 2.0f * PixelsToTwips(borderPx());
    m_geometry.Set(0, 0, 4800.0f + border + PixelsToTwips(m_frame.left() + m_frame.right()),
                   3600.0f + border + PixelsToTwips(m_frame.top() + m_frame.bottom()));
    applyGeometry();
}

Window::~Window() {
    handles().erase(m_lngHwnd);
    m_alive.reset();
    if (m_modalLoop)
        m_modalLoop->quit();
    for (Window* owned : m_owned)
        owned->m_owner = nullptr;
    if (m_owner) {
        auto& list = m_owner->m_owned;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    m_settle->stop();
    if (m_watched)
        m_watched->removeEventFilter(m_widget);
    m_client->m_window = nullptr;
    m_widget->m_window = nullptr;
    m_widget->hide();
    // The widget may be the receiver of the event being handled right now.
    m_widget->deleteLater();
}

Window* Window::FromHandle(int32_t handle) {
    const auto it = handles().find(handle);
    return it == handles().end() ? nullptr : it->second;
}

QWidget* Window::ClientWidget() const { return m_client; }
QWidget* Window::NativeWidget() const { return m_widget; }

int Window::borderPx() const {
    if (m_style.TitleBar)
        return 0;
    return m_style.Sizable ? kSizableBorderPx : kFixedBorderPx;
}

QMargins Window::frame() const { return m_style.TitleBar ? m_frame : QMargins(); }

void Window::SetLeft(float value) {
    CheckCoordinate(value);
    if (value != Left())
        setGeometry(value, Top(), Width(), Height());
}

void Window::SetTop(float value) {
    CheckCoordinate(value);
    if (value != Top())
        setGeometry(Left(), value, Width(), Height());
}

void Window::SetWidth(float value) {
    CheckLength(value);
    if (value != Width())
        setGeometry(Left(), Top(), value, Height());
}

void Window::SetHeight(float value) {
    CheckLength(value);
    if (value != Height())
        setGeometry(Left(), Top(), Width(), value);
}

void Window::Move(float left, float top, float width, float height) {
    CheckCoordinate(left);
    CheckCoordinate(top);
    CheckLength(width);
    CheckLength(height);
    setGeometry(left, top, width, height);
}

// One change of the twips, one request to the window system, then the size
// change notification when the size changed.
void Window::setGeometry(float left, float top, float width, float height) {
    const bool resized = width != Width() || height != Height();
    m_blnResent = false;
    m_geometry.Set(left, top, width, height);
    applyGeometry();
    if (resized)
        raiseResize();
}

float Window::ScaleWidth() const {
    const QMargins f = frame();
    return std::max(0.0f, Width() - PixelsToTwips(2 * borderPx() + f.left() + f.right()));
}

float Window::ScaleHeight() const {
    const QMargins f = frame();
    return std::max(0.0f, Height() - PixelsToTwips(2 * borderPx() + f.top() + f.bottom()) -
                              menuBarHeight());
}

void Window::SetClientSize(float width, float height) {
    const QMargins f = frame();
    Move(Left(), Top(), width + PixelsToTwips(2 * borderPx() + f.left() + f.right()),
         height + PixelsToTwips(2 * borderPx() + f.top() + f.bottom()) + menuBarHeight());
}

float Window::menuBarHeight() const {
    return m_menuBar ? PixelsToTwips(m_menuBar->sizeHint().height()) : 0.0f;
}

QMenuBar* Window::MenuBar() {
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(m_widget);
        // The bar lies inside the window, not in a desktop-wide menu bar.
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->show();
        layoutClient(m_widget->size());
    }
    return m_menuBar;
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
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize desk = screen ? screen->availableGeometry().size() : QSize();
    setGeometry((PixelsToTwips(desk.width()) - Width()) / 2.0f,
                (PixelsToTwips(desk.height()) - Height()) / 2.0f, Width(), Height());
}

void Window::raiseResize() {
    // A handler that keeps changing the size would otherwise recurse for ever.
    if (m_intResizeDepth >= kMaxResizeNesting || !OnResize)
        return;
    ++m_intResizeDepth;
    struct Depth {
        int& d;
        ~Depth() { --d; }
    } depth{m_intResizeDepth};
    const auto handler = OnResize;
    handler();
}

void Window::layoutClient(QSize clientSize) {
    const int b = borderPx();
    const int w = std::max(0, clientSize.width() - 2 * b);
    const int h = std::max(0, clientSize.height() - 2 * b);
    int bar = 0;
    if (m_menuBar) {
        bar = std::min(m_menuBar->sizeHint().height(), h);
        m_menuBar->setGeometry(b, b, w, bar);
    }
    m_client->setGeometry(b, b + bar, w, h - bar);
}

// Sends the twips to the window system as one request for the whole
// rectangle. A hidden window only keeps it: showing maps it there in one
// piece.
void Window::applyGeometry() {
    const QRect outer = m_geometry.OuterPixels(desktopOrigin());
    const QMargins f = frame();
    const QRect client(outer.x() + f.left(), outer.y() + f.top(),
                       std::max(1, outer.width() - f.left() - f.right()),
                       std::max(1, outer.height() - f.top() - f.bottom()));
    layoutClient(client.size());
    // A fixed window with a caption bar tells the window manager that its
    // size is not the user's to change.
    if (m_style.TitleBar && !m_style.Sizable)
        m_widget->setFixedSize(client.size());
    if (!m_widget->isVisible()) {
        if (m_style.TitleBar && f.isNull()) {
            // The caption bar's size is not known yet: the window manager is
            // asked to put the frame's corner at the place.
            m_widget->resize(client.size());
            m_widget->move(outer.topLeft());
        } else {
            m_widget->setGeometry(client);
        }
        return;
    }
    watchNativeWindow();
    m_geometry.Requested(outer);
    m_widget->setGeometry(client);
    m_settle->start();
}

// The window has just been mapped with the geometry it holds: the window
// manager's placement and framing are echoes until it reports that back.
void Window::requestShown() {
    watchNativeWindow();
    m_native = QRect();
    m_blnResent = false;
    m_geometry.Shown(m_geometry.OuterPixels(desktopOrigin()));
    m_settle->start();
}

void Window::watchNativeWindow() {
    QWindow* handle = m_widget->windowHandle();
    if (handle == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(m_widget);
    m_watched = handle;
    if (handle)
        handle->installEventFilter(m_widget);
}

QRect Window::ReportedFrame() const {
    QRect client = m_native;
    if (client.isNull() && m_watched)
        client = m_watched->geometry();
    return client.marginsAdded(frame());
}

// Collects one report from its move and resize events; they are read
// together, from the event loop, once both are in.
void Window::nativeReported(QEvent* e) {
    if (!m_watched)
        return;
    if (m_native.isNull())
        m_native = m_watched->geometry();
    if (e->type() == QEvent::Move)
        m_native.moveTopLeft(static_cast<QMoveEvent*>(e)->pos());
    else
        m_native.setSize(static_cast<QResizeEvent*>(e)->size());
    if (m_reportQueued)
        return;
    m_reportQueued = true;
    QMetaObject::invokeMethod(
        m_widget,
        [w = m_widget] {
            if (Window* window = w->m_window) {
                window->m_reportQueued = false;
                Dispatch([window] { window->readReport(); });
            }
        },
        Qt::QueuedConnection);
}

void Window::readReport() {
    ++m_reports;
    if (!m_widget->isVisible())
        return;
    const QMargins framed = m_watched ? m_watched->frameMargins() : QMargins();
    if (m_style.TitleBar && !framed.isNull() && framed != m_frame && m_frame.isNull()) {
        // Framed for the first time with no frame known before: the window
        // was laid out as if it had none. It keeps its client area where it
        // is, and the outer rectangle takes the frame in. No request goes
        // out: a second placement while the window manager is still placing
        // the window can land the frame where the client was asked to go.
        m_frame = framed;
        lastCaptionFrame() = framed;
        m_geometry.Set(Left() - PixelsToTwips(framed.left()), Top() - PixelsToTwips(framed.top()),
                       Width() + PixelsToTwips(framed.left() + framed.right()),
                       Height() + PixelsToTwips(framed.top() + framed.bottom()));
        return;
    }
    if (m_style.TitleBar && !framed.isNull() && framed != m_frame) {
        // The window manager has framed the window, or framed it anew: the
        // same outer rectangle now leaves a different client area.
        const float scaleWidth = ScaleWidth();
        const float scaleHeight = ScaleHeight();
        m_frame = framed;
        lastCaptionFrame() = framed;
        applyGeometry();
        if (ScaleWidth() != scaleWidth || ScaleHeight() != scaleHeight)
            PostHandler([this] { raiseResize(); });
        return;
    }
    const WindowGeometry::Change change =
        m_geometry.Reported(m_native.marginsAdded(frame()), desktopOrigin());
    if (m_geometry.Outstanding())
        m_settle->start();
    if (change.resized) {
        layoutClient(m_native.size());
        PostHandler([this] { raiseResize(); });
    }
}

void Window::settled() {
    if (m_geometry.Outstanding()) {
        m_geometry.Settle(ReportedFrame());
        // A window manager that placed the window from a size it read before
        // the latest request, or was too busy to carry a request out, is
        // asked once more; what it makes of that second request stands.
        if (m_geometry.Displaced(desktopOrigin()) && !m_blnResent && m_widget->isVisible()) {
            m_blnResent = true;
            applyGeometry();
            return;
        }
    }
    // Framing a window that stays where it is sends no report of its own:
    // look again until the frame is known.
    if (m_style.TitleBar && m_frame.isNull() && m_widget->isVisible() && m_watched) {
        if (!m_watched->frameMargins().isNull())
            readReport();
        else if (++m_intFrameChecks < kFrameChecks)
            m_settle->start();
    }
}

void Window::SyncPositionFromScreen() {
    m_geometry.AdoptPosition(ReportedFrame(), desktopOrigin());
}

void Window::SnapPositionToPixels() {
    // The requests stay as they are: the rectangle in pixels does not change.
    const QRect outer = m_geometry.OuterPixels(desktopOrigin());
    const QPoint origin = desktopOrigin();
    m_geometry.Set(PixelsToTwips(outer.x() - origin.x()), PixelsToTwips(outer.y() - origin.y()),
                   Width(), Height());
}

// A drag of the window's own border: the size change is the user's, so its
// notification is queued like one from the window manager.
void Window::userResized(const QRect& outer) {
    const QPoint o = desktopOrigin();
    const float width = PixelsToTwips(outer.width());
    const float height = PixelsToTwips(outer.height());
    const bool resized = width != Width() || height != Height();
    m_geometry.Set(PixelsToTwips(outer.x() - o.x()), PixelsToTwips(outer.y() - o.y()), width,
                   height);
    applyGeometry();
    if (resized)
        PostHandler([this] { raiseResize(); });
}

void Window::SetCaption(const QString& value) {
    m_strCaption = value;
    m_widget->setWindowTitle(value);
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
    m_intWindowState = value;
    const Qt::WindowStates qt = value == vbMinimized   ? Qt::WindowMinimized
                                : value == vbMaximized ? Qt::WindowMaximized
                                                       : Qt::WindowNoState;
    m_widget->setWindowState(qt);
    applyVisibility();
    ownerStateChanged();
}

void Window::nativeStateChanged() {
    const Qt::WindowStates s = m_widget->windowState();
    const int16_t state = (s & Qt::WindowMinimized)   ? vbMinimized
                          : (s & Qt::WindowMaximized) ? vbMaximized
                                                      : vbNormal;
    if (state == m_intWindowState)
        return;
    // An owned window hides with its owner; a window manager that minimises
    // it along with the owner does not make it minimised in its own right.
    // When that news comes in late, with the owner back already, the window
    // is brought back from the icon at once.
    // A window that a modal window blocks is not minimised: some window managers iconify a
    // dialog's owners with it, which would leave the application blocked and out of sight.
    // The request is undone, and the window manager brings the dialog back with its owner.
    const QWidget* modal = QApplication::activeModalWidget();
    if (state == vbMinimized && modal && modal != m_widget) {
        PostHandler([this] { m_widget->setWindowState(m_widget->windowState() & ~Qt::WindowMinimized); });
        return;
    }
    if (state == vbMinimized && m_owner) {
        const bool ownerShown = m_owner->m_intWindowState != vbMinimized;
        if (ownerShown && m_blnVisible && m_blnLoaded && m_widget->isVisible())
            PostHandler([this] {
                const Qt::WindowStates now = m_widget->windowState();
                if (now.testFlag(Qt::WindowMinimized) && m_intWindowState != vbMinimized &&
                    m_owner && m_owner->m_intWindowState != vbMinimized)
                    m_widget->setWindowState(now & ~Qt::WindowMinimized);
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
    for (Window* owned : m_owned)
        owned->raise();
}

void Window::raise() {
    if (m_widget->isVisible())
        m_widget->raise();
}

void Window::applyVisibility() {
    const bool ownerMinimised = m_owner && m_owner->m_intWindowState == vbMinimized;
    const bool shown = m_blnVisible && m_blnLoaded && !ownerMinimised;
    if (shown && !m_widget->isVisible()) {
        // A window manager may have minimised an owned window along with its
        // owner; shown again, it must not come back as an icon.
        const Qt::WindowStates native = m_widget->windowState();
        if (m_intWindowState != vbMinimized && native.testFlag(Qt::WindowMinimized))
            m_widget->setWindowState(native & ~Qt::WindowMinimized);
        m_widget->show();
        requestShown();
        if (m_owner)
            raise();
    } else if (!shown && m_widget->isVisible()) {
        m_widget->hide();
    }
}

void Window::setOwner(Window* owner) {
    if (owner == m_owner || owner == this)
        return;
    if (m_owner) {
        auto& list = m_owner->m_owned;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    m_owner = owner;
    if (m_owner)
        m_owner->m_owned.push_back(this);
    // Tell the window manager too, so that it keeps the stacking while moving windows.
    m_widget->winId();
    QWindow* parent = nullptr;
    if (m_owner) {
        m_owner->m_widget->winId();
        parent = m_owner->m_widget->windowHandle();
    }
    if (m_widget->windowHandle())
        m_widget->windowHandle()->setTransientParent(parent);
}

void Window::Show(int16_t modal, Window* owner) {
    const auto keep = weak_from_this().lock();
    if (owner)
        setOwner(owner);
    m_blnLoaded = true;
    m_blnVisible = true;
    if (modal != vbModeless)
        m_widget->setWindowModality(Qt::ApplicationModal);
    if (!m_blnShownOnce && m_intStartUpPosition == vbStartUpScreen)
        centre();
    m_blnShownOnce = true;
    applyVisibility();
    if (modal == vbModeless || m_modalLoop)
        return;
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
    m_widget->setWindowModality(Qt::NonModal);
}

void Window::Hide() {
    m_blnVisible = false;
    applyVisibility();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Window::Unload() { unload(vbFormCode, true); }

void Window::UnloadWithoutQuery() { unload(vbFormCode, false); }

void Window::unload(int16_t mode, bool ask) {
    if (!m_blnLoaded || (ask && m_blnQueryingUnload))
        return;
    const auto keep = weak_from_this().lock();
    if (ask && OnQueryUnload) {
        int16_t cancel = 0;
        m_blnQueryingUnload = true;
        struct Asking {
            bool& flag;
            ~Asking() { flag = false; }
        } asking{m_blnQueryingUnload};
        const auto handler = OnQueryUnload;
        handler(cancel, mode);
        if (cancel != 0 || !m_blnLoaded)
            return;
    }
    Hide();
    m_blnLoaded = false;
    if (OnUnload) {
        const auto handler = OnUnload;
        handler();
    }
}

void Window::SetBackColor(int32_t value) {
    CheckColor(value);
    m_lngBackColor = value;
    m_widget->update();
    m_client->update();
}

void Window::SetForeColor(int32_t value) {
    CheckColor(value);
    m_lngForeColor = value;
}

float Window::TextWidth(const QString& text) const { return MeasureTextWidth(Font(), text); }
float Window::TextHeight(const QString& text) const { return MeasureTextHeight(Font(), text); }

void Window::mouse(MouseKind kind, const MouseArgs& args) {
    PostHandler([this, kind, args] { RaiseMouse(kind, args, OnMouseDown, OnMouseMove, OnMouseUp); });
}

void Window::PostHandler(std::function<void()> handler) {
    PostToDispatch([alive = std::weak_ptr<int>(m_alive), self = weak_from_this(),
                    h = std::move(handler)] {
        const auto keep = self.lock();
        if (!alive.expired())
            h();
    });
}

} // namespace toolkit
