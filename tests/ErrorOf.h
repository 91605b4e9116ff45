#pragma once

#include "toolkit/Error.h"

#include <cstdint>
#include <functional>

// The number of the error that f raises, 0 when it raises none.
inline int32_t errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const toolkit::Error& e) {
        return e.Number();
    }
    return 0;
}
