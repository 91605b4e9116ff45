#include "toolkit/WindowGeometry.h"

#include "toolkit/Twips.h"

#include <algorithm>

namespace toolkit {

void WindowGeometry::Set(float left, float top, float width, float height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

QRect WindowGeometry::OuterPixels(QPoint origin) const {
    const int x = TwipsToPixels(m_left);
    const int y = TwipsToPixels(m_top);
    const int w = std::max(1, TwipsToPixels(double{m_left} + m_width) - x);
    const int h = std::max(1, TwipsToPixels(double{m_top} + m_height) - y);
    return {x + origin.x(), y + origin.y(), w, h};
}

void WindowGeometry::Requested(const QRect& outer) {
    m_requested = outer;
    m_outstanding = true;
}

WindowGeometry::Change WindowGeometry::Reported(const QRect& outer, QPoint origin) {
    const QRect previous = m_reported;
    m_reported = outer;
    if (m_outstanding) {
        if (outer == m_requested)
            m_outstanding = false;
        return {};
    }
    if (outer == previous)
        return {};
    Change change;
    change.moved = outer.topLeft() != previous.topLeft();
    change.resized = outer.size() != previous.size();
    if (change.moved) {
        m_left = PixelsToTwips(outer.x() - origin.x());
        m_top = PixelsToTwips(outer.y() - origin.y());
    }
    if (change.resized) {
        m_width = PixelsToTwips(outer.width());
        m_height = PixelsToTwips(outer.height());
    }
    return change;
}

void WindowGeometry::Settle(const QRect& outer) {
    m_outstanding = false;
    m_reported = outer;
}

void WindowGeometry::AdoptPosition(const QRect& outer, QPoint origin) {
    m_left = PixelsToTwips(outer.x() - origin.x());
    m_top = PixelsToTwips(outer.y() - origin.y());
    m_reported = outer;
    m_requested = OuterPixels(origin);
    m_outstanding = false;
}

} // namespace toolkit
