#include "toolkit/WindowHandles.h"

#include <unordered_map>

namespace toolkit {

namespace {

std::unordered_map<int32_t, Window*>& handles() {
    static std::unordered_map<int32_t, Window*> map;
    return map;
}

} // namespace

int32_t RegisterWindowHandle(Window* window) {
    static int32_t next = 0x00010010;
    next += 4;
    handles()[next] = window;
    return next;
}

void ForgetWindowHandle(int32_t handle) { handles().erase(handle); }

Window* WindowFromHandle(int32_t handle) {
    const auto it = handles().find(handle);
    return it == handles().end() ? nullptr : it->second;
}

} // namespace toolkit
