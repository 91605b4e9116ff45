#include "toolkit/Window.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/Twips.h"

#include <QEventLoop>
#include <QIcon>
#include <QMenuBar>
#include <QPixmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
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
constexpr std::size_t kRememberedRequests = 16;

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
    void moveEvent(QMoveEvent*) override {
        if (m_window)
            m_window->nativeGeometryChanged();
    }
    void resizeEvent(QResizeEvent*) override {
        if (m_window)
            m_window->nativeGeometryChanged();
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
    m_lngHwnd = nextHandle();
    handles()[m_lngHwnd] = this;
    const float border = 2.0f * PixelsToTwips(borderPx());
    m_sngWidth = 4800.0f + border;
    m_sngHeight = 3600.0f + border;
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

void Window::SetLeft(float value) {
    CheckCoordinate(value);
    if (value == m_sngLeft)
        return;
    m_sngLeft = value;
    applyGeometry();
}

void Window::SetTop(float value) {
    CheckCoordinate(value);
    if (value == m_sngTop)
        return;
    m_sngTop = value;
    applyGeometry();
}

void Window::SetWidth(float value) {
    CheckLength(value);
    if (value == m_sngWidth)
        return;
    m_sngWidth = value;
    applyGeometry();
    raiseResize();
}

void Window::SetHeight(float value) {
    CheckLength(value);
    if (value == m_sngHeight)
        return;
    m_sngHeight = value;
    applyGeometry();
    raiseResize();
}

void Window::Move(float left, float top, float width, float height) {
    CheckCoordinate(left);
    CheckCoordinate(top);
    CheckLength(width);
    CheckLength(height);
    const bool resized = width != m_sngWidth || height != m_sngHeight;
    m_sngLeft = left;
    m_sngTop = top;
    m_sngWidth = width;
    m_sngHeight = height;
    applyGeometry();
    if (resized)
        raiseResize();
}

QMargins Window::frameMargins() const {
    if (m_style.TitleBar && m_widget->windowHandle())
        return m_widget->windowHandle()->frameMargins();
    return {};
}

float Window::menuBarHeight() const {
    return m_menuBar ? PixelsToTwips(m_menuBar->sizeHint().height()) : 0.0f;
}

float Window::ScaleWidth() const {
    const QMargins frame = frameMargins();
    return std::max(0.0f, m_sngWidth - 2.0f * PixelsToTwips(borderPx()) -
                              PixelsToTwips(frame.left() + frame.right()));
}

float Window::ScaleHeight() const {
    const QMargins frame = frameMargins();
    return std::max(0.0f, m_sngHeight - 2.0f * PixelsToTwips(borderPx()) -
                              PixelsToTwips(frame.top() + frame.bottom()) - menuBarHeight());
}

void Window::SetClientSize(float width, float height) {
    const QMargins frame = frameMargins();
    const float border = 2.0f * PixelsToTwips(borderPx());
    Move(m_sngLeft, m_sngTop, width + border + PixelsToTwips(frame.left() + frame.right()),
         height + border + PixelsToTwips(frame.top() + frame.bottom()) + menuBarHeight());
}

QMenuBar* Window::MenuBar() {
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(m_widget);
        // The bar lies inside the window's own client frame, not the desktop's.
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->show();
        layoutClient();
    }
    return m_menuBar;
}

void Window::layoutClient() {
    const int b = borderPx();
    const int w = std::max(0, m_widget->width() - 2 * b);
    int bar = 0;
    if (m_menuBar) {
        bar = std::min(m_menuBar->sizeHint().height(), std::max(0, m_widget->height() - 2 * b));
        m_menuBar->setGeometry(b, b, w, bar);
    }
    m_client->setGeometry(b, b + bar, w, std::max(0, m_widget->height() - 2 * b - bar));
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

void Window::applyGeometry() {
    const QPoint o = desktopOrigin();
    const int x = TwipsToPixels(m_sngLeft) + o.x();
    const int y = TwipsToPixels(m_sngTop) + o.y();
    const int w = std::max(1, TwipsToPixels(double{m_sngLeft} + m_sngWidth) + o.x() - x);
    const int h = std::max(1, TwipsToPixels(double{m_sngTop} + m_sngHeight) + o.y() - y);
    QMargins frame;
    if (m_style.TitleBar && m_widget->windowHandle())
        frame = m_widget->windowHandle()->frameMargins();
    const QRect wanted(x, y, w, h);
    m_requested.push_back(wanted);
    if (m_requested.size() > kRememberedRequests)
        m_requested.pop_front();
    m_widget->move(x, y);
    const QSize inner(std::max(1, w - frame.left() - frame.right()),
                      std::max(1, h - frame.top() - frame.bottom()));
    // A fixed window with a caption bar tells the window manager that its
    // size is not the user's to change.
    if (m_style.TitleBar && !m_style.Sizable)
        m_widget->setFixedSize(inner);
    else
        m_widget->resize(inner);
    layoutClient();
}

void Window::nativeGeometryChanged() {
    layoutClient();
    if (!m_widget->isVisible())
        return;
    const QRect now = m_widget->frameGeometry();
    // The window system reports the window's own requests late, one after
    // another, and Qt may report a new place with a size not yet updated. A
    // report whose place and size were both among the recent requests is an
    // echo, not something the user did.
    const auto placeAsked = std::any_of(m_requested.begin(), m_requested.end(),
                                        [&](const QRect& r) { return r.topLeft() == now.topLeft(); });
    const auto sizeAsked = std::any_of(m_requested.begin(), m_requested.end(),
                                       [&](const QRect& r) { return r.size() == now.size(); });
    if (placeAsked && sizeAsked)
        return;
    const QPoint o = desktopOrigin();
    const QRect stored(TwipsToPixels(m_sngLeft) + o.x(), TwipsToPixels(m_sngTop) + o.y(),
                       std::max(1, TwipsToPixels(double{m_sngLeft} + m_sngWidth) -
                                       TwipsToPixels(m_sngLeft)),
                       std::max(1, TwipsToPixels(double{m_sngTop} + m_sngHeight) -
                                       TwipsToPixels(m_sngTop)));
    if (now.topLeft() != stored.topLeft()) {
        m_sngLeft = PixelsToTwips(now.x() - o.x());
        m_sngTop = PixelsToTwips(now.y() - o.y());
    }
    if (now.size() != stored.size()) {
        m_sngWidth = PixelsToTwips(now.width());
        m_sngHeight = PixelsToTwips(now.height());
        PostHandler([this] { raiseResize(); });
    }
}

void Window::SyncPositionFromScreen() {
    const QPoint o = desktopOrigin();
    const QRect now = m_widget->frameGeometry();
    m_sngLeft = PixelsToTwips(now.x() - o.x());
    m_sngTop = PixelsToTwips(now.y() - o.y());
    m_requested.clear();
    m_requested.push_back(now);
}

void Window::userResized(const QRect& frame) {
    const QPoint o = desktopOrigin();
    const float width = PixelsToTwips(frame.width());
    const float height = PixelsToTwips(frame.height());
    const bool resized = width != m_sngWidth || height != m_sngHeight;
    m_sngLeft = PixelsToTwips(frame.x() - o.x());
    m_sngTop = PixelsToTwips(frame.y() - o.y());
    m_sngWidth = width;
    m_sngHeight = height;
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
    if (state == vbMinimized && m_owner)
        return;
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
    // The offscreen platform has no stacking and complains when asked.
    if (m_widget->isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen"))
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
    if (!m_blnShownOnce && m_intStartUpPosition == vbStartUpScreen) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize desk = screen ? screen->availableGeometry().size() : QSize();
        m_sngLeft = (PixelsToTwips(desk.width()) - m_sngWidth) / 2.0f;
        m_sngTop = (PixelsToTwips(desk.height()) - m_sngHeight) / 2.0f;
        applyGeometry();
    }
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
