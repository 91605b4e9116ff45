#include "toolkit/Mouse.h"

#include "toolkit/Twips.h"

#include <QMouseEvent>

namespace toolkit {

namespace {

int16_t buttonCode(Qt::MouseButtons buttons) {
    int16_t code = 0;
    if (buttons & Qt::LeftButton)
        code |= vbLeftButton;
    if (buttons & Qt::RightButton)
        code |= vbRightButton;
    if (buttons & Qt::MiddleButton)
        code |= vbMiddleButton;
    return code;
}

int16_t shiftCode(Qt::KeyboardModifiers mods) {
    int16_t code = 0;
    if (mods & Qt::ShiftModifier)
        code |= 1;
    if (mods & Qt::ControlModifier)
        code |= 2;
    if (mods & Qt::AltModifier)
        code |= 4;
    return code;
}

} // namespace

MouseArgs ToMouseArgs(MouseKind kind, const QMouseEvent& event) {
    MouseArgs a;
    a.Button = buttonCode(kind == MouseKind::Move ? event.buttons() : Qt::MouseButtons(event.button()));
    a.Shift = shiftCode(event.modifiers());
    a.X = PixelsToTwips(event.position().x());
    a.Y = PixelsToTwips(event.position().y());
    return a;
}

void RaiseMouse(MouseKind kind, const MouseArgs& args, const MouseHandler& down,
                const MouseHandler& move, const MouseHandler& up) {
    const MouseHandler handler = kind == MouseKind::Down   ? down
                                 : kind == MouseKind::Move ? move
                                                           : up;
    if (!handler)
        return;
    MouseArgs a = args;
    handler(a.Button, a.Shift, a.X, a.Y);
}

} // namespace toolkit
