#include "toolkit/Mouse.h"

#include "toolkit/Twips.h"

#include <QMouseEvent>

#include <initializer_list>
#include <utility>

namespace toolkit {

namespace {

// The code whose bits stand for the flags that are set, by a table of flag and bit.
template <class Flag>
int16_t codeOf(QFlags<Flag> flags, std::initializer_list<std::pair<Flag, int16_t>> bits) {
    int16_t code = 0;
    for (const auto& [flag, bit] : bits) {
        if (flags & flag)
            code |= bit;
    }
    return code;
}

} // namespace

MouseArgs ToMouseArgs(MouseKind kind, const QMouseEvent& event) {
    const Qt::MouseButtons buttons =
        kind == MouseKind::Move ? event.buttons() : Qt::MouseButtons(event.button());
    return {codeOf(buttons, {{Qt::LeftButton, vbLeftButton},
                             {Qt::RightButton, vbRightButton},
                             {Qt::MiddleButton, vbMiddleButton}}),
            codeOf(event.modifiers(),
                   {{Qt::ShiftModifier, 1}, {Qt::ControlModifier, 2}, {Qt::AltModifier, 4}}),
            PixelsToTwips(event.position().x()), PixelsToTwips(event.position().y())};
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
