#pragma once

#include "toolkit/Control.h"
#include "toolkit/Twips.h"

#include <QMouseEvent>

namespace toolkit {

// A Qt widget that reports its mouse events to its Control and keeps them from
// travelling on to the parent widget, so that one press gives one notification.
template <class Base> class Forwarding : public Base {
public:
    using Base::Base;
    Control* m_control = nullptr;

protected:
    // Whether the widget's own mouse behaviour (selection, clicking) runs too.
    virtual bool baseMouse() const { return true; }
    // The control the event at this point belongs to, with the point made
    // relative to it.
    virtual Control* mouseTarget(QPointF& /*at*/) { return m_control; }

    void mousePressEvent(QMouseEvent* e) override { handle(MouseKind::Down, e); }
    void mouseMoveEvent(QMouseEvent* e) override { handle(MouseKind::Move, e); }
    void mouseReleaseEvent(QMouseEvent* e) override { handle(MouseKind::Up, e); }

private:
    void handle(MouseKind kind, QMouseEvent* e) {
        if (baseMouse()) {
            if (kind == MouseKind::Down)
                Base::mousePressEvent(e);
            else if (kind == MouseKind::Move)
                Base::mouseMoveEvent(e);
            else
                Base::mouseReleaseEvent(e);
        }
        e->accept();
        QPointF at = e->position();
        Control* target = mouseTarget(at);
        if (!target)
            return;
        MouseArgs args = ToMouseArgs(kind, *e);
        args.X = PixelsToTwips(at.x());
        args.Y = PixelsToTwips(at.y());
        target->Mouse(kind, args);
    }
};

} // namespace toolkit
