#pragma once

#include "toolkit/Container.h"
#include "toolkit/FontHolder.h"
#include "toolkit/Mouse.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace toolkit {

class Window;

// A widget inside a window. Left, Top, Width and Height are twips from the
// parent container's top-left corner, kept exactly as last set.
class Control : public FontHolder {
public:
    ~Control() override;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    float Left() const { return m_sngLeft; }
    float Top() const { return m_sngTop; }
    float Width() const { return m_sngWidth; }
    float Height() const { return m_sngHeight; }
    void SetLeft(float value) { Move(value, m_sngTop, m_sngWidth, m_sngHeight); }
    void SetTop(float value) { Move(m_sngLeft, value, m_sngWidth, m_sngHeight); }
    void SetWidth(float value) { Move(m_sngLeft, m_sngTop, value, m_sngHeight); }
    void SetHeight(float value) { Move(m_sngLeft, m_sngTop, m_sngWidth, value); }
    void Move(float left, float top, float width, float height);

    bool Visible() const { return m_blnVisible; }
    void SetVisible(bool value);
    bool Enabled() const { return m_blnEnabled; }
    void SetEnabled(bool value);
    // Gives the control the keyboard focus: now if its window is active,
    // otherwise when the window is next activated.
    void SetFocus();

    int32_t BackColor() const { return m_lngBackColor; }
    void SetBackColor(int32_t value) { setColor(m_lngBackColor, value); }
    int32_t ForeColor() const { return m_lngForeColor; }
    void SetForeColor(int32_t value) { setColor(m_lngForeColor, value); }

    Window& ParentWindow() const { return m_window; }

    MouseHandler OnMouseDown;
    MouseHandler OnMouseMove;
    MouseHandler OnMouseUp;

    // Toolkit internals.
    QWidget* NativeWidget() const { return m_widget; }
    void Mouse(MouseKind kind, const MouseArgs& args);

protected:
    // The subclass creates its widget, parented to the container's client
    // widget, and hands it over with the initial geometry.
    Control(Container& parent, int32_t backColor, int32_t foreColor);
    void Attach(QWidget* widget);
    // Queues a handler of this control to the dispatch boundary. It is
    // dropped if the control has gone by then: its widget goes with it.
    void post(std::function<void()> handler);
    // Calls the handler, if set, through a copy: it may replace itself while it runs.
    static void raise(const std::function<void()>& handler) {
        if (const auto copy = handler)
            copy();
    }
    // Shows a change of place or size, of visibility, of colours; by default
    // on the control's own widget.
    virtual void applyGeometry();
    virtual void applyVisibility();
    virtual void applyColors();
    void fontChanged() override;

private:
    void setColor(int32_t& color, int32_t value);

    Window& m_window;
    QPointer<QWidget> m_widget;
    float m_sngLeft = 0;
    float m_sngTop = 0;
    float m_sngWidth = 0;
    float m_sngHeight = 0;
    bool m_blnVisible = true;
    bool m_blnEnabled = true;
    int32_t m_lngBackColor;
    int32_t m_lngForeColor;
};

// A new control of the given kind on the container, at its place in twips.
template <class Kind>
std::unique_ptr<Kind> Placed(Container& parent, float left, float top, float width, float height) {
    auto control = std::make_unique<Kind>(parent);
    control->Move(left, top, width, height);
    return control;
}

// Orders the keyboard focus of the controls of one window as listed; those
// that take no focus are passed over.
void ApplyTabOrder(const std::vector<Control*>& controls);

} // namespace toolkit
