#pragma once

#include "util/CRForm.h"

#include <cstdint>
#include <memory>

// Places of a window on the desktop.
enum enm2DPosType : int32_t {
    pos2DCenter = -1,
    pos2DTopLeft = 0,
    pos2DTopRight = 1,
    pos2DBottomLeft = 2,
    pos2DBottomRight = 3,
};

// Places of a window in the stacking order, handed to the window system as
// the window to insert after.
enum enm3DPosType : int32_t {
    pos3DTopMost = -1,
    pos3DNoTopMost = -2,
};

// Window utilities acting on the window (FormName) of the record CRF: placing
// it on the desktop and in the stacking order. Lengths are twips; the desktop
// is measured at a fixed 15 twips per pixel. A missing record or window raises
// "Object variable not set" (91).
class CCtrlFlavors {
public:
    void SetCRF(std::shared_ptr<CRForm> Value) { m_CRF = std::move(Value); }

    // The usable desktop, in twips.
    int32_t DeskTopWidth() const;
    int32_t DeskTopHeight() const;

    // Moves the window to a corner or the centre of the desktop; other values
    // change nothing.
    void Form2DPosition(enm2DPosType venm2DPosType);
    // Sets the window's place in the stacking order; non-zero on success.
    int32_t Form3DPosition(enm3DPosType venm3DPosType);
    // Moves a window in the normal state back inside the desktop where it
    // sticks out; one larger than the desktop gets its far edges on the
    // desktop's far edges.
    void InsideDeskTop();

private:
    toolkit::Window& form() const;

    std::shared_ptr<CRForm> m_CRF;
};
