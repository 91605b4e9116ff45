#pragma once

#include <cstdint>

// Arithmetic in the fixed widths of the application's numbers. A result that
// does not fit raises the Overflow error instead of wrapping around.
namespace toolkit {

int32_t ToInt32(int64_t value);

int16_t Abs16(int16_t value);
int16_t Mul16(int16_t a, int16_t b);

int32_t Add32(int32_t a, int32_t b);
int32_t Mul32(int32_t a, int32_t b);

// Rounds to the nearest integer, halves to the even neighbour, as the
// conversions of floating point values to integers do. NaN and values
// outside the 16-bit range raise Overflow.
int16_t RoundToInt16(double value);

} // namespace toolkit
