#pragma once

#include <cstdint>

// Dragging a window that has no title bar by pressing anywhere on it.
namespace modMove {

// Packs a screen position as a message parameter: y in the high 16 bits, x in
// the low 16 bits, (y * 65536) OR (x AND 0xFFFF) in 32-bit arithmetic. A y
// outside -32768..32767 raises Overflow.
int32_t PackCursorPosition(int32_t x, int32_t y);

// Hands the window to the interactive move, as if the user had pressed on its
// title bar where the cursor is now, and returns when the button is released.
void DragWindow(int32_t hWnd);

} // namespace modMove
