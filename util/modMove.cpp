#include "util/modMove.h"

#include "toolkit/Checked.h"
#include "toolkit/WindowSystem.h"

namespace modMove {

int32_t PackCursorPosition(int32_t x, int32_t y) {
    return toolkit::Mul32(y, 65536) | (x & 0xFFFF);
}

void DragWindow(int32_t hWnd) {
    // The window under the pressed button holds the mouse; the move takes it.
    toolkit::ReleaseCapture();
    int32_t x = 0;
    int32_t y = 0;
    toolkit::GetCursorPos(x, y);
    int32_t position = PackCursorPosition(x, y);
    toolkit::SendMessage(hWnd, toolkit::WM_SYSCOMMAND, toolkit::SC_MOVE + toolkit::HTCAPTION,
                         &position);
}

} // namespace modMove
