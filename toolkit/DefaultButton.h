#pragma once

namespace toolkit {

class CommandButton;

// Makes the button its window's default button: Enter clicks it, unless the
// keyboard focus is on another push button of the window, which Enter then
// clicks instead. The click is queued to the dispatch boundary as a mouse
// click is. One default button per window.
void SetDefaultButton(CommandButton& button);

} // namespace toolkit
