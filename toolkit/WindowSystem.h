#pragma once

#include <cstdint>
#include <functional>

// The few window-system services that the window utilities reach by handle:
// stacking, the interactive move, mouse capture and the cursor. A handle is a
// Window's hwnd().
namespace toolkit {

// Where SetWindowPos puts a window in the stacking order.
inline constexpr int32_t HWND_TOP = 0;
inline constexpr int32_t HWND_BOTTOM = 1;
inline constexpr int32_t HWND_TOPMOST = -1;
inline constexpr int32_t HWND_NOTOPMOST = -2;

inline constexpr int32_t SWP_NOSIZE = 0x1;
inline constexpr int32_t SWP_NOMOVE = 0x2;
inline constexpr int32_t SWP_NOACTIVATE = 0x10;
inline constexpr int32_t SWP_SHOWWINDOW = 0x40;

inline constexpr int32_t WM_SYSCOMMAND = 0x112;
inline constexpr int32_t SC_MOVE = 0xF010;
inline constexpr int32_t HTCAPTION = 2;

// Changes the window's place in the stacking order: HWND_TOPMOST keeps it
// above every ordinary window, HWND_NOTOPMOST makes it ordinary again above
// the other ordinary windows, HWND_TOP raises and HWND_BOTTOM lowers it.
// Only stacking changes are carried out, so wFlags must hold SWP_NOSIZE and
// SWP_NOMOVE (X, Y, cx and cy are not used); SWP_SHOWWINDOW also shows a
// hidden window. The window is never activated. Returns non-zero on success
// and 0 for an unknown or unloaded window, another insert-after value or
// other flags.
int32_t SetWindowPos(int32_t hWnd, int32_t hWndInsertAfter, int32_t X, int32_t Y, int32_t cx,
                     int32_t cy, int32_t wFlags);

// Sends a message to the window and returns its reply. One is understood;
// anything else, or an unknown window, answers 0.
// - WM_SYSCOMMAND with SC_MOVE + HTCAPTION: the interactive move. *lParam is
//   the cursor position where the move starts, y in the high 16 bits and x in
//   the low 16 bits, both signed (null: the cursor's position now). The window
//   follows the mouse until the left button is released; only then does the
//   call return, 1 if the move ran, 0 if it could not start (the button is
//   already up, the window is hidden or not in the normal state, or another
//   move runs). The window's Left and Top then hold its place on the screen.
int32_t SendMessage(int32_t hWnd, int32_t wMsg, int32_t wParam, int32_t* lParam);

// Releases the mouse from whichever window has captured it. Returns 1.
int32_t ReleaseCapture();

// The cursor's position on the screen, in pixels. Returns 1.
int32_t GetCursorPos(int32_t& x, int32_t& y);

// Whether the left mouse button is held now, as the window system sees it.
bool LeftButtonDown();
// Replaces that source (tests hold the button); an empty function goes back
// to the window system.
void SetLeftButtonSource(std::function<bool()> source);

// Whether the window is kept above ordinary windows.
bool IsTopMost(int32_t hWnd);

// The window system's own id of the window (on X11 the window id), 0 for an
// unknown window or one the window system has not created yet.
uint64_t NativeWindowId(int32_t hWnd);

} // namespace toolkit
