#pragma once

#include "toolkit/Mouse.h"

#include <QAbstractNativeEventFilter>
#include <QColor>
#include <QPointer>
#include <QWidget>
#include <QWindow>

class QMenuBar;

namespace toolkit {

// What the native widgets of a window tell the window they belong to.
class WindowFrameListener {
public:
    virtual QColor FrameBackColor() const = 0;
    // The window system moved or resized the native window.
    virtual void FrameReported() = 0;
    // The window system shows the native window: it is on screen.
    virtual void FrameExposed() = 0;
    virtual void FrameStateChanged() = 0;
    virtual void FrameActivated() = 0;
    virtual void FrameCloseRequested() = 0;
    // The user dragged the border: the outer rectangle asked for.
    virtual void FrameBorderDragged(const QRect& outer) = 0;
    virtual void FrameMouse(MouseKind kind, const MouseArgs& args) = 0;

protected:
    ~WindowFrameListener() = default;
};

// The native top-level widget: draws the border, lets a sizable border be
// dragged and passes on what the window system does to the window. Its client
// widget holds the window's widgets below the optional menu bar. The listener
// is cleared when the window goes; the widget may outlive it by an event.
// The border drawn inside the widget is borderPx wide (0 for none); dragging
// it resizes the window when borderSizes.
class WindowFrame : public QWidget, private QAbstractNativeEventFilter {
public:
    WindowFrame(WindowFrameListener* listener, int borderPx, bool borderSizes);
    int BorderPx() const { return m_borderPx; }
    ~WindowFrame() override;
    void Forget() { m_listener = nullptr; }
    bool Listening() const { return m_listener != nullptr; }
    // Reads the window system's reports of the native window from now on.
    void Watch(QWindow* native);
    // Its client rectangle as the window system last reported it, in screen
    // pixels; empty before the first report.
    QRect Reported() const { return m_reported; }
    // A window manager's frame holds the native window.
    bool Framed() const { return m_parent != 0; }
    QWidget* Client() const { return m_client; }
    QMenuBar* MenuBar();
    QMenuBar* MenuBarIfAny() const { return m_menuBar; }
    // Brings the window back from the icon, maximised if it was.
    void Restore() { setWindowState(windowState() & ~Qt::WindowMinimized); }
    // Lays the menu bar and the client area out in a native client area of
    // the given size.
    void Layout(QSize size);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    int edgesAt(QPoint p) const;

    WindowFrameListener* m_listener;
    const int m_borderPx;
    const bool m_borderSizes;
    QPointer<QWindow> m_watched;
    uint64_t m_parent = 0; // the window manager's frame around it, if any
    QRect m_reported;
    QWidget* m_client;
    QMenuBar* m_menuBar = nullptr;
    int m_edges = 0;
    QPoint m_pressGlobal;
    QRect m_pressFrame;
};

} // namespace toolkit
