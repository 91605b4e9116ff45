#pragma once

#include <cstdint>
#include <functional>

class QMouseEvent;

namespace toolkit {

// Mouse-button codes and shift-state bits of the mouse notifications.
inline constexpr int16_t vbLeftButton = 1;
inline constexpr int16_t vbRightButton = 2;
inline constexpr int16_t vbMiddleButton = 4;

// A mouse notification: Button, Shift and X, Y in twips relative to the widget
// that received it, all passed by reference.
using MouseHandler = std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)>;

enum class MouseKind { Down, Move, Up };

struct MouseArgs {
    int16_t Button = 0, Shift = 0;
    float X = 0, Y = 0;
};

// Down and Up carry the button that changed; Move carries the buttons held.
MouseArgs ToMouseArgs(MouseKind kind, const QMouseEvent& event);

// Calls the handler of the given kind, if set, with a copy of the arguments;
// the handler is copied too, so that it may replace itself.
void RaiseMouse(MouseKind kind, const MouseArgs& args, const MouseHandler& down,
                const MouseHandler& move, const MouseHandler& up);

} // namespace toolkit
