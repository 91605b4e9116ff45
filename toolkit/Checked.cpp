#include "toolkit/Checked.h"

#include "toolkit/Error.h"

#include <cmath>
#include <limits>

namespace toolkit {

namespace {

template <typename T> T narrow(int64_t value) {
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        throw Error::Overflow();
    return static_cast<T>(value);
}

} // namespace

int32_t ToInt32(int64_t value) { return narrow<int32_t>(value); }

int16_t Abs16(int16_t value) { return narrow<int16_t>(value < 0 ? -int64_t{value} : value); }
int16_t Mul16(int16_t a, int16_t b) { return narrow<int16_t>(int64_t{a} * b); }

int32_t Add32(int32_t a, int32_t b) { return narrow<int32_t>(int64_t{a} + b); }
int32_t Mul32(int32_t a, int32_t b) { return narrow<int32_t>(int64_t{a} * b); }

int16_t RoundToInt16(double value) {
    // nearbyint follows the default rounding mode, round-to-nearest-even. NaN fails both
    // comparisons, so it is refused with the values out of range.
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<int16_t>::min() && r <= std::numeric_limits<int16_t>::max()))
        throw Error::Overflow();
    return static_cast<int16_t>(r);
}

} // namespace toolkit
