#pragma once

#include "toolkit/Error.h"

#include <algorithm>
#include <cmath>

// Lengths are kept in twips; the screen is reached at a fixed 15 twips per
// logical pixel.
namespace toolkit {

inline constexpr float kTwipsPerPixel = 15.0f;

// Rounds a twip coordinate to the nearest pixel. Values far beyond any screen
// are clamped so that the conversion never overflows an int.
inline int TwipsToPixels(double twips) {
    const double px = std::floor(twips / kTwipsPerPixel + 0.5);
    if (std::isnan(px))
        return 0;
    return static_cast<int>(std::clamp(px, -1.0e7, 1.0e7));
}

inline float PixelsToTwips(double px) { return static_cast<float>(px * kTwipsPerPixel); }

// Lengths and coordinates beyond any screen, or not numbers at all, are
// refused with "Invalid property value".
inline void CheckLength(float twips) {
    if (std::isnan(twips) || twips < 0 || twips > 1.0e9f)
        throw Error::InvalidPropertyValue();
}
inline void CheckCoordinate(float twips) {
    if (!std::isfinite(twips) || std::fabs(twips) > 1.0e9f)
        throw Error::InvalidPropertyValue();
}

} // namespace toolkit
