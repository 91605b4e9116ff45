#pragma once

namespace toolkit {

class Window;

// Makes a window that is not yet shown a dialog box: the window manager
// frames it as one and, once it is shown with an owner, keeps it with that
// owner and above it (on X11 only dialogs and tool windows name their owner
// to the window manager). Its caption-bar buttons stay as its style has them.
void SetDialogFrame(Window& window);

} // namespace toolkit
