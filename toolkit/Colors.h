#pragma once

#include <QColor>

#include <cstdint>

// Colours are red + green * 256 + blue * 65536; 0x80000000 + n names system
// colour n, resolved through the application palette when drawn.
namespace toolkit {

inline constexpr int32_t RGB(int r, int g, int b) { return r + g * 256 + b * 65536; }
inline constexpr int32_t SystemColor(int n) { return static_cast<int32_t>(0x80000000u + static_cast<uint32_t>(n)); }

inline constexpr int32_t vbButtonFace = SystemColor(15);
inline constexpr int32_t vbButtonText = SystemColor(18);
inline constexpr int32_t vbWindowBackground = SystemColor(5);
inline constexpr int32_t vbWindowText = SystemColor(8);

// Raises "Invalid property value" for a value that is neither an RGB colour
// nor a known system colour.
void CheckColor(int32_t color);
QColor ToQColor(int32_t color);

} // namespace toolkit
