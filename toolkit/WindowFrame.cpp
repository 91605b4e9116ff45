#include "toolkit/WindowFrame.h"

#include "toolkit/X11.h"

#include <QCoreApplication>
#include <QHash>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace toolkit {

namespace {
enum Edge { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };
}

WindowFrame::WindowFrame(WindowFrameListener* listener, int borderPx, bool borderSizes)
    : m_listener(listener), m_borderPx(borderPx), m_borderSizes(borderSizes),
      m_client(new QWidget(this)) {
    setMouseTracking(true);
    // The frame's painting shows through the client area, which reports the
    // mouse on the part of it that no widget covers (eventFilter).
    m_client->setMouseTracking(true);
    m_client->installEventFilter(this);
}

WindowFrame::~WindowFrame() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

QMenuBar* WindowFrame::MenuBar() {
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        // The bar lies inside the window, not in a desktop-wide menu bar.
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->show();
        Layout(size());
    }
    return m_menuBar;
}

void WindowFrame::Layout(QSize size) {
    const int b = m_borderPx;
    const int w = std::max(0, size.width() - 2 * b);
    const int h = std::max(0, size.height() - 2 * b);
    int bar = 0;
    if (m_menuBar) {
        bar = std::min(m_menuBar->sizeHint().height(), h);
        m_menuBar->setGeometry(b, b, w, bar);
    }
    m_client->setGeometry(b, b + bar, w, h - bar);
}

void WindowFrame::paintEvent(QPaintEvent*) {
    if (!m_listener)
        return;
    QPainter p(this);
    const QColor back = m_listener->FrameBackColor();
    p.fillRect(rect(), back);
    if (m_borderPx > 0) {
        p.setPen(back.darker(160));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void WindowFrame::Watch(QWindow* native) {
    if (native == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = native;
    m_parent = 0;
    m_reported = QRect();
    native->installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

// Every report the X server sends, also those Qt does not pass on because
// they match what it passed on last: the window reads where it stands.
bool WindowFrame::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!m_listener || !m_watched)
        return false;
    // A move of the window manager's frame moves the window too, and weston
    // sends the window no report of it: the frame's own reports are read.
    const X11Event e = X11Read(eventType, message);
    const uint64_t self = m_watched->winId();
    if (e.kind == X11Event::Reparented && e.window == self) {
        m_parent = X11WatchMoves(e.parent) ? e.parent : 0;
        m_listener->FrameReported();
    } else if (e.kind == X11Event::Configured && (e.window == self || e.window == m_parent)) {
        m_listener->FrameReported();
    } else if (e.kind == X11Event::Exposed && e.window == self) {
        m_listener->FrameExposed();
    }
    return false;
}

// The window system's reports about the native window: spontaneous move and
// resize events of the QWindow, before the widget hears of them. Qt's own
// idea of the geometry already holds the latest request, so the report is
// read from the events themselves. The filter sits on the watched window
// and on the client area, whose mouse events it passes on (a double click is
// a press, as QWidget would have it).
bool WindowFrame::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_client) {
        static const QHash<QEvent::Type, MouseKind> kinds{
            {QEvent::MouseButtonPress, MouseKind::Down},
            {QEvent::MouseButtonDblClick, MouseKind::Down},
            {QEvent::MouseMove, MouseKind::Move},
            {QEvent::MouseButtonRelease, MouseKind::Up}};
        const auto kind = kinds.constFind(e->type());
        if (kind == kinds.cend())
            return false;
        e->accept();
        if (m_listener)
            m_listener->FrameMouse(*kind, ToMouseArgs(*kind, *static_cast<QMouseEvent*>(e)));
        return true;
    }
    if (e->type() == QEvent::Expose && m_watched->isExposed() && m_listener)
        m_listener->FrameExposed();
    if (e->spontaneous() && (e->type() == QEvent::Move || e->type() == QEvent::Resize)) {
        if (m_reported.isNull())
            m_reported = m_watched->geometry();
        if (e->type() == QEvent::Move)
            m_reported.moveTopLeft(static_cast<QMoveEvent*>(e)->pos());
        else
            m_reported.setSize(static_cast<QResizeEvent*>(e)->size());
        if (m_listener)
            m_listener->FrameReported();
    }
    return QWidget::eventFilter(watched, e);
}

void WindowFrame::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (!m_listener)
        return;
    if (e->type() == QEvent::WindowStateChange)
        m_listener->FrameStateChanged();
    else if (e->type() == QEvent::ActivationChange && isActiveWindow())
        m_listener->FrameActivated();
}

void WindowFrame::closeEvent(QCloseEvent* e) {
    // The window system asks; the application decides, from the event loop.
    e->ignore();
    if (m_listener)
        m_listener->FrameCloseRequested();
}

void WindowFrame::mousePressEvent(QMouseEvent* e) {
    e->accept();
    m_edges = e->button() == Qt::LeftButton ? edgesAt(e->position().toPoint()) : 0;
    m_pressGlobal = e->globalPosition().toPoint();
    m_pressFrame = frameGeometry();
}

void WindowFrame::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (!m_listener)
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
    const int minimum = 2 * m_borderPx + 1;
    if (m_edges & kLeft)
        r.setLeft(std::min(r.left() + d.x(), r.right() - minimum + 1));
    if (m_edges & kRight)
        r.setRight(std::max(r.right() + d.x(), r.left() + minimum - 1));
    if (m_edges & kTop)
        r.setTop(std::min(r.top() + d.y(), r.bottom() - minimum + 1));
    if (m_edges & kBottom)
        r.setBottom(std::max(r.bottom() + d.y(), r.top() + minimum - 1));
    m_listener->FrameBorderDragged(r);
}

void WindowFrame::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    m_edges = 0;
}

// Which border edges lie under a point of the widget. A point outside the
// widget (the mouse held by a grab elsewhere) is on none of them.
int WindowFrame::edgesAt(QPoint p) const {
    if (!m_listener || !m_borderSizes || !rect().contains(p))
        return 0;
    const int b = m_borderPx;
    return (p.x() < b ? kLeft : 0) | (p.x() >= width() - b ? kRight : 0) |
           (p.y() < b ? kTop : 0) | (p.y() >= height() - b ? kBottom : 0);
}

} // namespace toolkit
