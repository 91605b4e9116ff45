#include "toolkit/HScrollBar.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyleOptionSlider>

namespace toolkit {

namespace {

// The thumb's length in pixels, whatever the page step is. On the panel's 60-pixel bars with
// 0..100 this leaves at least 25 pixels of travel, so a pixel of drag moves the value by 4
// at most and the hand can hit every fourth value.
constexpr int kThumbPixels = 7;

// The platform style with a thumb of fixed size: a style sizes it by the page step against the
// range, which on a short bar gives a thumb that fills the track and jumps by a quarter.
class FixedThumbStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_ScrollBarSliderMin)
            return kThumbPixels;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
            bar && control == CC_ScrollBar) {
            // No page length makes the style fall back to the minimum thumb.
            QStyleOptionSlider fixed = *bar;
            fixed.pageStep = 0;
            return QProxyStyle::subControlRect(control, &fixed, sub, widget);
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
};

} // namespace

class HScrollBarWidget : public Forwarding<QScrollBar> {
public:
    HScrollBarWidget(Control& control, QWidget* parent)
        : Forwarding<QScrollBar>(control, Qt::Horizontal, parent) {
        // One style serves every bar; the application owns it, so it outlives them all.
        static QPointer<QStyle> style;
        if (!style) {
            style = new FixedThumbStyle;
            style->setParent(qApp);
        }
        setStyle(style);
    }

protected:
    // The platform style draws no focus on a scroll bar; a dotted frame round the thumb
    // shows which bar the arrow keys move.
    void paintEvent(QPaintEvent* e) override {
        Forwarding<QScrollBar>::paintEvent(e);
        if (!hasFocus())
            return;
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect thumb = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                    QStyle::SC_ScrollBarSlider, this);
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(thumb.adjusted(-1, 1, 0, -2));
    }
};

HScrollBar::HScrollBar(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    m_bar = new HScrollBarWidget(*this, parent.ClientWidget());
    // The value follows the thumb only when it is let go.
    m_bar->setTracking(false);
    m_bar->setRange(0, 32767);
    m_bar->setPageStep(1);
    // The bar tells only real changes; the code's own are made with its signals blocked.
    QObject::connect(m_bar, &QAbstractSlider::valueChanged, m_bar,
                     [this] { post([this] { raise(OnChange); }); });
    // Qt's bars take no focus by default; this one is a control of its own.
    m_bar->setFocusPolicy(Qt::StrongFocus);
    Attach(m_bar);
}

void HScrollBar::SetValue(int16_t value) {
    if (value < 0 || value > Max())
        throw Error::InvalidPropertyValue();
    if (value == Value())
        return;
    {
        const QSignalBlocker block(m_bar);
        m_bar->setValue(value);
    }
    raise(OnChange);
}

void HScrollBar::SetMax(int16_t value) {
    if (value < 0)
        throw Error::InvalidPropertyValue();
    const bool moves = Value() > value;
    {
        // The bar keeps its value inside the new range by itself, silently.
        const QSignalBlocker block(m_bar);
        m_bar->setRange(0, value);
    }
    // A value beyond the new Max moves to it as the code would move it, and says so.
    if (moves)
        raise(OnChange);
}

} // namespace toolkit
