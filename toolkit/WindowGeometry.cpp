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

namespace {

// Takes a whole-pixel length unless the twips already give it. The start
// edge already rounds to its pixel, and a whole-pixel length keeps the far
// edge on the pixel as far from it.
void takeLength(float start, float& length, int lengthPx) {
    if (TwipsToPixels(double{start} + length) - TwipsToPixels(start) != lengthPx)
        length = PixelsToTwips(lengthPx);
}

} // namespace

WindowGeometry::Change WindowGeometry::Reported(const QRect& outer, QPoint origin) {
    if (!outer.isValid())
        return {};
    const QRect before = OuterPixels(origin);
    const int x = outer.x() - origin.x();
    const int y = outer.y() - origin.y();
    if (TwipsToPixels(m_left) != x)
        m_left = PixelsToTwips(x);
    if (TwipsToPixels(m_top) != y)
        m_top = PixelsToTwips(y);
    takeLength(m_left, m_width, outer.width());
    takeLength(m_top, m_height, outer.height());
    Change change;
    change.moved = outer.topLeft() != before.topLeft();
    change.resized = outer.size() != before.size();
    return change;
}

} // namespace toolkit
