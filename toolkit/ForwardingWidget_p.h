#pragma once

#include "toolkit/Control.h"

#include <QMouseEvent>

#include <utility>

namespace toolkit {

// A Qt widget that reports its mouse events to its Control and keeps them from
// travelling on to the parent widget, so that one press gives one notification.
// The Control is given first, before the widget's own arguments.
template <class Base> class Forwarding : public Base {
public:
    template <class... Args>
    explicit Forwarding(Control& control, Args&&... args)
        : Base(std::forward<Args>(args)...), m_control(&control) {}
    Control* const m_control;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        Base::mousePressEvent(e);
        forward(MouseKind::Down, e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        Base::mouseMoveEvent(e);
        forward(MouseKind::Move, e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        Base::mouseReleaseEvent(e);
        forward(MouseKind::Up, e);
    }

private:
    void forward(MouseKind kind, QMouseEvent* e) {
        e->accept();
        m_control->Mouse(kind, ToMouseArgs(kind, *e));
    }
};

} // namespace toolkit
