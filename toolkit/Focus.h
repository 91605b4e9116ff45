#pragma once

namespace toolkit {

class Control;

// Gives the control the keyboard focus: now if its window is active,
// otherwise when the window is next activated.
void SetFocusTo(Control& control);

} // namespace toolkit
