#pragma once

class QWindow;

namespace toolkit {

class Window;

// Names a made window a toolbar to the window manager, before the dialog type
// Qt gives it: openbox then leaves it out of the window list and focus
// cycling and gives it no minimise button, and other window managers that do
// not know the type take the next one. Kept when Qt makes the window anew.
void NameAsToolbar(QWindow* handle);

// Makes a window that is not yet shown a dialog box: the window manager
// frames it as one and, once it is shown with an owner, keeps it with that
// owner and above it (on X11 only dialogs and tool windows name their owner
// to the window manager). Its caption-bar buttons stay as its style has them;
// a style without a minimise button keeps openbox from adding one.
void SetDialogFrame(Window& window);

} // namespace toolkit
