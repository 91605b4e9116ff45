#pragma once

#include <cstdint>

namespace toolkit {

class Window;

// The handles by which the window utilities reach windows: each loaded
// Window has one for its life, never reused.
int32_t RegisterWindowHandle(Window* window);
void ForgetWindowHandle(int32_t handle);
Window* WindowFromHandle(int32_t handle);

} // namespace toolkit
