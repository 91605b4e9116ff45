#pragma once

#include "toolkit/Control.h"

#include <QScrollBar>

#include <cstdint>
#include <functional>

namespace toolkit {

// A horizontal scroll bar with a 16-bit Value from 0 to Max, moved by 1 with
// the arrows and the clicks on the track. Change is raised only when Value
// really changes: queued when the user moves it (arrows, track, keys, or the
// end of a thumb drag; nothing while the thumb is dragged), synchronously
// inside the setter when the code does.
class HScrollBar : public Control {
public:
    explicit HScrollBar(Container& parent);

    // The bar's own value and maximum: the range is 16-bit, so both are too.
    int16_t Value() const { return static_cast<int16_t>(m_bar->value()); }
    // A value outside 0..Max is refused with "Invalid property value".
    void SetValue(int16_t value);
    int16_t Max() const { return static_cast<int16_t>(m_bar->maximum()); }
    // A Max below the value moves the value to it; one below 0 is refused.
    void SetMax(int16_t value);

    std::function<void()> OnChange;

private:
    QScrollBar* m_bar;
};

} // namespace toolkit
