#pragma once

#include "toolkit/Container.h"
#include "toolkit/FontHolder.h"
#include "toolkit/Mouse.h"
#include "toolkit/WindowFrame.h"
#include "toolkit/WindowGeometry.h"

#include <QMargins>
#include <QRect>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QEventLoop;
class QMenuBar;
class QWidget;

namespace toolkit {

// How a window is framed.
struct WindowStyle {
    bool TitleBar = true;   // false: no caption bar and no window-manager frame
    bool Sizable = true;    // the user can drag the border
    bool ToolWindow = false; // no task-bar entry
    bool MinButton = true;
    bool MaxButton = true;
};

inline constexpr int16_t vbNormal = 0;
inline constexpr int16_t vbMinimized = 1;
inline constexpr int16_t vbMaximized = 2;
inline constexpr int16_t vbModeless = 0;
inline constexpr int16_t vbModal = 1;
// Causes of an unload, as the close question hears them.
inline constexpr int16_t vbFormControlMenu = 0; // the close button or the window manager
inline constexpr int16_t vbFormCode = 1;
// Where a window goes when it is first shown.
inline constexpr int16_t vbStartUpManual = 0;
inline constexpr int16_t vbStartUpScreen = 2;

// A top-level window. Its outer Left, Top, Width and Height are kept in twips
// (see WindowGeometry); screen twips start at the primary screen's available
// area. It is created hidden and loaded. A hidden window only keeps its
// geometry; showing it maps it there, once the handler that showed it has
// returned, so that everything that handler does to it arrives in the map.
class Window : public Container,
               public FontHolder,
               public std::enable_shared_from_this<Window>,
               private WindowFrameListener {
public:
    explicit Window(const WindowStyle& style = {});
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    float Left() const { return m_geometry.Left(); }
    float Top() const { return m_geometry.Top(); }
    float Width() const { return m_geometry.Width(); }
    float Height() const { return m_geometry.Height(); }
    // A value the window already has asks the window system for nothing.
    void SetLeft(float value) { Move(value, Top(), Width(), Height()); }
    void SetTop(float value) { Move(Left(), value, Width(), Height()); }
    void SetWidth(float value) { Move(Left(), Top(), value, Height()); }
    void SetHeight(float value) { Move(Left(), Top(), Width(), value); }
    void Move(float left, float top, float width, float height);

    // The client area: the outer size less border and caption, never negative.
    // A caption bar's size is known once a window manager has framed a
    // window with one; until then it is taken from the last window framed.
    float ScaleWidth() const;
    float ScaleHeight() const;
    // Sets the outer size so that the client area gets the given size.
    void SetClientSize(float width, float height);

    QString Caption() const { return m_widget->windowTitle(); }
    void SetCaption(const QString& value) { m_widget->setWindowTitle(value); }

    bool Visible() const { return m_blnVisible; }
    void SetVisible(bool value);
    int16_t WindowState() const { return m_intWindowState; }
    void SetWindowState(int16_t value);
    int32_t hwnd() const { return m_lngHwnd; }

    int32_t BackColor() const { return m_lngBackColor; }
    void SetBackColor(int32_t value);
    int32_t ForeColor() const { return m_lngForeColor; }
    void SetForeColor(int32_t value);

    float TextWidth(const QString& text) const { return MeasureTextWidth(Font(), text); }
    float TextHeight(const QString& text) const { return MeasureTextHeight(Font(), text); }

    // Shows the window, modeless (returns at once) or modal (returns when the
    // window is hidden or unloaded). An owned window stays above its owner and
    // is hidden while the owner is minimised.
    void Show(int16_t modal = vbModeless, Window* owner = nullptr);
    void Hide();
    // Asks OnQueryUnload first; unless it cancels, hides the window, ends a
    // modal show and raises OnUnload. The window can be shown again.
    void Unload() { unload(vbFormCode, true); }
    // The same without the question, for an end that nobody can answer.
    void UnloadWithoutQuery() { unload(vbFormCode, false); }
    bool Loaded() const { return m_blnLoaded; }
    Window* Owner() const { return m_owner; }

    // Raised synchronously when the code changes the size, and queued when the
    // user or the window manager does. Setting the size inside the handler
    // raises it again, nested. A report of the size the twips already give
    // never raises it.
    std::function<void()> OnResize;
    MouseHandler OnMouseDown;
    MouseHandler OnMouseMove;
    MouseHandler OnMouseUp;
    std::function<void()> OnUnload;
    // Raised before every unload, whatever its cause (vbFormControlMenu or
    // vbFormCode); a non-zero Cancel keeps the window loaded. A close request
    // that comes while the question is open is dropped.
    std::function<void(int16_t& Cancel, int16_t UnloadMode)> OnQueryUnload;

    // The menu bar, created on first use above the client area; ScaleHeight
    // is then the height below it.
    QMenuBar* MenuBar() { return m_widget->MenuBar(); }
    // A picture in the XPM format for the caption bar and the task bar.
    void SetIcon(const char* const* xpm);
    // The same for the application as a whole (windows without their own).
    static void SetApplicationIcon(const char* const* xpm);
    // vbStartUpScreen centres the window on the desktop when it is first
    // shown, by the outer size it has then (a caption bar the window
    // manager adds later is not known yet).
    void SetStartUpPosition(int16_t value);

    // Toolkit internals.
    QWidget* ClientWidget() const override { return m_widget->Client(); }
    Window& TopWindow() override { return *this; }
    QWidget* NativeWidget() const { return m_widget; }
    const WindowStyle& Style() const { return m_style; }
    // Takes the whole pixels the window stands on as its Left and Top, after
    // a move carried out as asked.
    void SnapPositionToPixels();
    // How many reports of its place and size the window system has made.
    uint64_t Reports() const { return m_reports; }
    // Whether the window waits to be mapped, or the window system has not
    // yet reported it where it was last asked to go (also for good, when a
    // window manager put it elsewhere).
    bool GeometryOutstanding() const;
    // Whether a shown window still waits for its first map, or for the window
    // mapped before it to come on screen.
    static bool MapsPending();
    // Runs a handler through the dispatch boundary, unless the window is
    // gone by then; the window is kept alive while it runs.
    void PostHandler(std::function<void()> handler);

private:
    // The native widgets' news (WindowFrameListener).
    QColor FrameBackColor() const override;
    void FrameReported() override;
    void FrameExposed() override;
    void FrameStateChanged() override;
    void FrameActivated() override { raiseOwned(); }
    void FrameCloseRequested() override;
    void FrameBorderDragged(const QRect& outer) override;
    void FrameMouse(MouseKind kind, const MouseArgs& args) override;

    QMargins frame(bool last = false) const;
    void applyGeometry(WindowGeometry::Which which = {});
    void mapQueued();
    void setMapQueued(bool queued);
    float menuBarHeight() const;
    void centre();
    void unload(int16_t mode, bool ask);
    void readReport();
    void raiseResize();
    bool shouldShow() const;
    void applyVisibility();
    void setOwner(Window* owner);
    void tellOwner();
    void ownerStateChanged();
    void raiseOwned();

    WindowStyle m_style;
    WindowGeometry m_geometry;
    mutable QMargins m_frame; // the window manager's frame around the client area
    mutable bool m_framePending = false; // asked of the window manager, no answer read yet
    mutable bool m_frameWaited = false;  // the answer was waited for once
    bool m_blnVisible = false;
    bool m_blnLoaded = true;
    int16_t m_intWindowState = vbNormal;
    int32_t m_lngHwnd = 0;
    int32_t m_lngBackColor;
    int32_t m_lngForeColor;
    int m_intResizeDepth = 0;
    int16_t m_intStartUpPosition = vbStartUpManual;
    bool m_blnShownOnce = false;
    bool m_blnQueryingUnload = false;
    bool m_blnMapQueued = false;

    Window* m_owner = nullptr;
    std::vector<Window*> m_owned;
    QEventLoop* m_modalLoop = nullptr;
    std::optional<QPoint> m_toldQt; // the place last reported to Qt by the window itself
    QRect m_requested;  // the client rectangle last asked for, in pixels
    QRect m_handedOver; // the client rectangle last asked for or reported
    QRect m_lastRead;   // the client rectangle the window system last reported
    bool m_reportQueued = false;
    bool m_reportDeferred = false; // a report came before the window was on screen
    uint64_t m_reports = 0;
    WindowFrame* m_widget = nullptr; // owned; deleted later so that it may be in use
};

} // namespace toolkit
