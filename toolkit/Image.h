#pragma once

#include "toolkit/Control.h"
#include "toolkit/Picture.h"

namespace toolkit {

// A picture on a window, drawn over the window's background and stretched to
// fill the box whatever its own size.
class Image : public Control {
public:
    explicit Image(Container& parent);

    const toolkit::Picture& Picture() const { return m_picture; }
    void SetPicture(const toolkit::Picture& value);

private:
    toolkit::Picture m_picture;
};

} // namespace toolkit
