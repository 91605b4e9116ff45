#include "toolkit/WindowGeometry.h"

#include "toolkit/Twips.h"

#include <algorithm>

namespace toolkit {

// A value handed in unchanged is not the code's: a setter of one of the four
// passes the others as they stand, and they may stand where a report of a
// passing state (an older request answered late) put them. What the code set
// for those is kept, so that the next report finds it again.
WindowGeometry::Which WindowGeometry::Set(float left, float top, float width, float height) {
    const auto set = [](float value, float& now, float& wanted) {
        const bool changed = value != now;
        if (changed)
            wanted = value;
        now = value;
        return changed;
    };
    return {set(left, m_now.left, m_set.left), set(top, m_now.top, m_set.top),
            set(width, m_now.width, m_set.width), set(height, m_now.height, m_set.height)};
}

namespace {

// The length in pixels between two rounded edges.
int pixelLength(float start, float length) {
    return TwipsToPixels(double{start} + length) - TwipsToPixels(start);
}

// What the code set, as long as it rounds to the reported pixels; the
// reported whole pixels otherwise.
float kept(float set, int setPixels, int reported) {
    return setPixels == reported ? set : PixelsToTwips(reported);
}

} // namespace

QRect WindowGeometry::OuterPixels(QPoint origin) const {
    const int w = std::max(1, pixelLength(m_now.left, m_now.width));
    const int h = std::max(1, pixelLength(m_now.top, m_now.height));
    return {TwipsToPixels(m_now.left) + origin.x(), TwipsToPixels(m_now.top) + origin.y(), w, h};
}

bool WindowGeometry::Reported(const QRect& outer, QPoint origin) {
    if (!outer.isValid())
        return false;
    const QRect before = OuterPixels(origin);
    const int x = outer.x() - origin.x();
    const int y = outer.y() - origin.y();
    // A window that went elsewhere and came back finds its exact twips again.
    m_now.left = kept(m_set.left, TwipsToPixels(m_set.left), x);
    m_now.top = kept(m_set.top, TwipsToPixels(m_set.top), y);
    m_now.width = kept(m_set.width, pixelLength(m_now.left, m_set.width), outer.width());
    m_now.height = kept(m_set.height, pixelLength(m_now.top, m_set.height), outer.height());
    return outer.size() != before.size();
}

} // namespace toolkit
