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
constexpr std::size_t kUnansweredKept = 16;
}

void WindowGeometry::Requested(const QRect& outer) {
    m_requested = outer;
    m_outstanding = true;
    if (m_unanswered.size() >= kUnansweredKept)
        m_unanswered.erase(m_unanswered.begin());
    m_unanswered.push_back(outer);
}

bool WindowGeometry::echoOfUnanswered(const QRect& outer) const {
    bool place = false;
    bool size = false;
    for (const QRect& r : m_unanswered) {
        place = place || r.topLeft() == outer.topLeft();
        size = size || r.size() == outer.size();
    }
    return place && size;
}

void WindowGeometry::Shown(const QRect& outer) {
    Requested(outer);
    m_placing = true;
}

WindowGeometry::Change WindowGeometry::Reported(const QRect& outer, QPoint origin) {
    const QRect previous = m_reported;
    m_reported = outer;
    if (m_outstanding) {
        if (outer == m_requested) {
            m_outstanding = false;
            // Answers come in order: every older echo has come in before;
            // except while the window manager places a new window.
            if (!m_placing)
                m_unanswered.clear();
        }
        return {};
    }
    if (outer == previous || echoOfUnanswered(outer))
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
    m_placing = false;
    m_reported = outer;
}

void WindowGeometry::AdoptPosition(const QRect& outer, QPoint origin) {
    m_left = PixelsToTwips(outer.x() - origin.x());
    m_top = PixelsToTwips(outer.y() - origin.y());
    m_reported = outer;
    m_requested = OuterPixels(origin);
    m_outstanding = false;
    m_placing = false;
    m_unanswered.clear();
}

} // namespace toolkit
