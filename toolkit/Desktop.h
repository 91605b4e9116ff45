#pragma once

#include <cstdint>
#include <functional>

// The desktop measures that the window utilities work from, in pixels.
namespace toolkit {

inline constexpr int32_t SM_CYMENU = 15;        // height of a one-line menu bar
inline constexpr int32_t SM_CXFULLSCREEN = 16;  // usable width of the desktop
inline constexpr int32_t SM_CYFULLSCREEN = 17;  // usable height less one menu bar
inline constexpr int32_t SM_CYKANJIWINDOW = 18; // no Kanji window here: 0

// The measure with the given index, or 0 for an index not listed above. They
// come from the primary screen's available area (the desktop without panels),
// split so that SM_CXFULLSCREEN + SM_CYKANJIWINDOW is exactly its width and
// SM_CYMENU + SM_CYFULLSCREEN exactly its height. Without a screen all are 0.
int32_t GetSystemMetrics(int32_t index);

// Replaces the source of the measures; an empty function goes back to the
// screen. Returns the source it replaces.
std::function<int32_t(int32_t index)>
SetSystemMetricsSource(std::function<int32_t(int32_t index)> source);

} // namespace toolkit
