#pragma once

class QWidget;

namespace toolkit {

class Window;

// Something that holds widgets: a window's client area or a frame. Child
// positions are in twips from the container's top-left corner.
class Container {
public:
    virtual ~Container() = default;
    virtual QWidget* ClientWidget() const = 0;
    virtual Window& TopWindow() = 0;
};

} // namespace toolkit
