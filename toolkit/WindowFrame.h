#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <QWindow>

class QMenuBar;

namespace toolkit {

class Window;

// The native top-level widget: draws the border, lets a sizable border be
// dragged and passes on what the window system does to the window. Its client
// widget holds the window's widgets below the optional menu bar. The window
// is cleared when it goes; the widget may outlive it by an event.
class WindowFrame : public QWidget, private QAbstractNativeEventFilter {
public:
    explicit WindowFrame(Window* window);
    ~WindowFrame() override;
    void Forget() { m_window = nullptr; }
    bool Listening() const { return m_window != nullptr; }
    // Reads the window system's reports of the native window from now on.
    void Watch(QWindow* native);
    // Its client rectangle as the window system last reported it, in screen
    // pixels; empty before the first report.
    QRect Reported() const { return m_reported; }
    QWidget* Client() const;
    QMenuBar* MenuBar();
    QMenuBar* MenuBarIfAny() const { return m_menuBar; }
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
    class ClientArea;
    int edgesAt(QPoint p) const;

    Window* m_window;
    QPointer<QWindow> m_watched;
    uint64_t m_parent = 0; // the window manager's frame around it, if any
    QRect m_reported;
    ClientArea* m_client;
    QMenuBar* m_menuBar = nullptr;
    int m_edges = 0;
    QPoint m_pressGlobal;
    QRect m_pressFrame;
};

} // namespace toolkit
