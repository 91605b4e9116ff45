#include "util/CCtrlFlavors.h"

#include "toolkit/Checked.h"
#include "toolkit/Desktop.h"
#include "toolkit/Error.h"
#include "toolkit/Window.h"
#include "toolkit/WindowSystem.h"

#include <algorithm>

namespace {

constexpr int32_t kTwipsPerPixel = 15;

// Flags of the stacking change: keep the size and the place, show the window.
constexpr int32_t kStackingFlags =
    toolkit::SWP_NOSIZE | toolkit::SWP_NOMOVE | toolkit::SWP_SHOWWINDOW;

} // namespace

toolkit::Window& CCtrlFlavors::form() const {
    if (!m_CRF || !m_CRF->FormName())
        throw toolkit::Error::ObjectNotSet();
    return *m_CRF->FormName();
}

int32_t CCtrlFlavors::DeskTopWidth() const {
    return toolkit::Mul32(toolkit::Add32(toolkit::GetSystemMetrics(toolkit::SM_CXFULLSCREEN),
                                         toolkit::GetSystemMetrics(toolkit::SM_CYKANJIWINDOW)),
                          kTwipsPerPixel);
}

int32_t CCtrlFlavors::DeskTopHeight() const {
    return toolkit::Mul32(toolkit::Add32(toolkit::GetSystemMetrics(toolkit::SM_CYMENU),
                                         toolkit::GetSystemMetrics(toolkit::SM_CYFULLSCREEN)),
                          kTwipsPerPixel);
}

void CCtrlFlavors::Form2DPosition(enm2DPosType venm2DPosType) {
    toolkit::Window& window = form();
    // For each place, from the centre on, the parts of the room the window leaves on the
    // desktop that stand above it and left of it: 0 for none, 1 for all of it, 2 for half.
    constexpr int kParts[5][2] = {{2, 2}, {0, 0}, {0, 1}, {1, 0}, {1, 1}};
    if (venm2DPosType < pos2DCenter || venm2DPosType > pos2DBottomRight)
        return;
    const auto [top, left] = kParts[venm2DPosType - pos2DCenter];
    // Worked out in double and not rounded; Top always goes first.
    const auto room = [](int parts, int32_t desk, float size) {
        return static_cast<float>((static_cast<double>(desk) - size) / parts);
    };
    window.SetTop(top == 0 ? 0.0f : room(top, DeskTopHeight(), window.Height()));
    window.SetLeft(left == 0 ? 0.0f : room(left, DeskTopWidth(), window.Width()));
}

int32_t CCtrlFlavors::Form3DPosition(enm3DPosType venm3DPosType) {
    return toolkit::SetWindowPos(form().hwnd(), venm3DPosType, 0, 0, 0, 0, kStackingFlags);
}

void CCtrlFlavors::InsideDeskTop() {
    toolkit::Window& window = form();
    if (window.WindowState() != toolkit::vbNormal)
        return;
    // Where the near edge goes, given where it would stand with the far edge on the
    // desktop's: the far edge first, then the near one. A window larger than the desktop
    // keeps its far edge on the desktop's, wherever it stood: taking its near edge to 0
    // instead would flip it between the two on every call. A window inside stays.
    const auto inside = [](float at, double far) {
        return at > far ? static_cast<float>(far)
               : at < 0 ? static_cast<float>(std::min(0.0, far))
                        : at;
    };
    window.SetTop(inside(window.Top(), static_cast<double>(DeskTopHeight()) - window.Height()));
    window.SetLeft(inside(window.Left(), static_cast<double>(DeskTopWidth()) - window.Width()));
}
