#include "toolkit/Control.h"

#include "toolkit/Colors.h"
#include "toolkit/Twips.h"
#include "toolkit/Window.h"

#include <algorithm>

namespace toolkit {

Control::Control(Container& parent, int32_t backColor, int32_t foreColor)
    : m_window(parent.TopWindow()), m_lngBackColor(backColor), m_lngForeColor(foreColor) {}

// Handlers run from the event loop, never inside the widget's own event
// processing, so the widget can go at once.
Control::~Control() { delete m_widget; }

void Control::Attach(QWidget* widget) {
    m_widget = widget;
    m_widget->setMouseTracking(true);
    applyGeometry();
    applyColors();
    fontChanged();
    applyVisibility();
}

void Control::applyGeometry() {
    if (!m_widget)
        return;
    const int x = TwipsToPixels(m_sngLeft);
    const int y = TwipsToPixels(m_sngTop);
    // Edges are rounded rather than sizes, so that boxes placed end to end
    // in twips also meet on the screen.
    const int w = std::max(0, TwipsToPixels(double{m_sngLeft} + m_sngWidth) - x);
    const int h = std::max(0, TwipsToPixels(double{m_sngTop} + m_sngHeight) - y);
    m_widget->setGeometry(x, y, w, h);
}

void Control::Move(float left, float top, float width, float height) {
    CheckCoordinate(left);
    CheckCoordinate(top);
    CheckLength(width);
    CheckLength(height);
    m_sngLeft = left;
    m_sngTop = top;
    m_sngWidth = width;
    m_sngHeight = height;
    applyGeometry();
}

void Control::SetVisible(bool value) {
    m_blnVisible = value;
    applyVisibility();
}

void Control::applyVisibility() {
    if (m_widget)
        m_widget->setVisible(m_blnVisible);
}

void Control::SetEnabled(bool value) {
    m_blnEnabled = value;
    if (m_widget)
        m_widget->setEnabled(value);
}

void Control::SetFocus() {
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
}

void ApplyTabOrder(const std::vector<Control*>& controls) {
    QWidget* previous = nullptr;
    for (Control* c : controls) {
        QWidget* w = c->NativeWidget();
        if (!w || w->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void Control::setColor(int32_t& color, int32_t value) {
    CheckColor(value);
    color = value;
    applyColors();
}

void Control::applyColors() {
    if (!m_widget)
        return;
    QPalette pal = m_widget->palette();
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setColor(role, ToQColor(m_lngBackColor));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(role, ToQColor(m_lngForeColor));
    // A palette that changes repaints the widget by itself.
    m_widget->setPalette(pal);
}

void Control::fontChanged() {
    if (m_widget)
        m_widget->setFont(ToQFont(Font()));
}

void Control::post(std::function<void()> handler) {
    m_window.PostHandler([widget = m_widget, h = std::move(handler)] {
        if (widget)
            h();
    });
}

void Control::Mouse(MouseKind kind, const MouseArgs& args) {
    post([this, kind, args] { RaiseMouse(kind, args, OnMouseDown, OnMouseMove, OnMouseUp); });
}

} // namespace toolkit
