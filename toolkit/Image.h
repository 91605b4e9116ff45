#pragma once

#include "toolkit/Control.h"
#include "toolkit/Picture.h"

namespace toolkit {

class Container;

// A picture on a window, drawn over the window's background. Stretched, the
// picture fills the box whatever its own size; otherwise it is drawn at its
// own size from the top-left corner and clipped.
class Image : public Control {
public:
    explicit Image(Container& parent);

    const toolkit::Picture& Picture() const { return m_picture; }
    void SetPicture(const toolkit::Picture& value);
    bool Stretch() const { return m_blnStretch; }
    void SetStretch(bool value);

private:
    friend class ImageWidget;

    toolkit::Picture m_picture;
    bool m_blnStretch = false;
};

} // namespace toolkit
