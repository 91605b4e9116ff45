#include "toolkit/HScrollBar.h"

#include "toolkit/Colors.h"
#include "toolkit/Container.h"
#include "toolkit/Error.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace toolkit {

class HScrollBarWidget : public Forwarding<QScrollBar> {
public:
    explicit HScrollBarWidget(QWidget* parent) : Forwarding<QScrollBar>(Qt::Horizontal, parent) {}
};

HScrollBar::HScrollBar(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    m_bar = new HScrollBarWidget(parent.ClientWidget());
    m_bar->m_control = this;
    // The value follows the thumb only when it is let go.
    m_bar->setTracking(false);
    QObject::connect(m_bar, &QAbstractSlider::valueChanged, m_bar,
                     [this](int value) { userMoved(value); });
    applyRange();
    Attach(m_bar);
    // Qt's bars take no focus by default; this one is a control of its own.
    SetTabStop(true);
}

bool HScrollBar::inRange(int value) const {
    return value >= std::min(m_intMin, m_intMax) && value <= std::max(m_intMin, m_intMax);
}

void HScrollBar::applyRange() {
    const QSignalBlocker block(m_bar);
    const bool reversed = m_intMin > m_intMax;
    m_bar->setRange(std::min(m_intMin, m_intMax), std::max(m_intMin, m_intMax));
    m_bar->setInvertedAppearance(reversed);
    m_bar->setInvertedControls(reversed);
    m_bar->setSingleStep(m_intSmallChange);
    m_bar->setPageStep(m_intLargeChange);
    m_bar->setValue(m_intValue);
}

void HScrollBar::SetValue(int16_t value) {
    if (!inRange(value))
        throw Error::InvalidPropertyValue();
    if (value == m_intValue)
        return;
    m_intValue = value;
    {
        const QSignalBlocker block(m_bar);
        m_bar->setValue(value);
    }
    raiseChange();
}

void HScrollBar::SetMin(int16_t value) {
    m_intMin = value;
    const int16_t before = m_intValue;
    if (!inRange(m_intValue))
        m_intValue = value;
    applyRange();
    if (m_intValue != before)
        raiseChange();
}

void HScrollBar::SetMax(int16_t value) {
    m_intMax = value;
    const int16_t before = m_intValue;
    if (!inRange(m_intValue))
        m_intValue = value;
    applyRange();
    if (m_intValue != before)
        raiseChange();
}

void HScrollBar::SetSmallChange(int16_t value) {
    if (value < 1)
        throw Error::InvalidPropertyValue();
    m_intSmallChange = value;
    applyRange();
}

void HScrollBar::SetLargeChange(int16_t value) {
    if (value < 1)
        throw Error::InvalidPropertyValue();
    m_intLargeChange = value;
    applyRange();
}

void HScrollBar::userMoved(int value) {
    // The bar's range is 16-bit, so the value is too.
    const auto v = static_cast<int16_t>(value);
    if (v == m_intValue)
        return;
    m_intValue = v;
    post([this] { raiseChange(); });
}

void HScrollBar::raiseChange() {
    if (OnChange) {
        const auto handler = OnChange;
        handler();
    }
}

} // namespace toolkit
