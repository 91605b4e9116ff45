#pragma once

#include "toolkit/Control.h"

#include <cstdint>
#include <functional>

namespace toolkit {

class Container;
class HScrollBarWidget;

// A horizontal scroll bar with 16-bit Min, Max, SmallChange (arrows),
// LargeChange (clicks on the track) and Value. Min may be above Max; the bar
// then runs the other way. Change is raised only when Value really changes:
// queued when the user moves it (arrows, track, keys, or the end of a thumb
// drag; nothing while the thumb is dragged), synchronously inside the setter
// when the code does.
class HScrollBar : public Control {
public:
    explicit HScrollBar(Container& parent);

    int16_t Value() const { return m_intValue; }
    // A value outside Min..Max is refused with "Invalid property value".
    void SetValue(int16_t value);
    int16_t Min() const { return m_intMin; }
    int16_t Max() const { return m_intMax; }
    // A new bound that leaves Value outside the range moves Value to the bound.
    void SetMin(int16_t value);
    void SetMax(int16_t value);
    int16_t SmallChange() const { return m_intSmallChange; }
    int16_t LargeChange() const { return m_intLargeChange; }
    // Steps below 1 are refused with "Invalid property value".
    void SetSmallChange(int16_t value);
    void SetLargeChange(int16_t value);

    std::function<void()> OnChange;

private:
    friend class HScrollBarWidget;
    void applyRange();
    void userMoved(int value);
    void raiseChange();
    bool inRange(int value) const;

    HScrollBarWidget* m_bar;
    int16_t m_intValue = 0;
    int16_t m_intMin = 0;
    int16_t m_intMax = 32767;
    int16_t m_intSmallChange = 1;
    int16_t m_intLargeChange = 1;
};

} // namespace toolkit
