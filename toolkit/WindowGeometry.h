#pragma once

#include <QPoint>
#include <QRect>

namespace toolkit {

// Where a top-level window stands and how big it is: outer Left, Top, Width
// and Height in twips.
//
// The window system's reports are the truth, in whole pixels. Each of the
// four keeps what the code last set, fraction and all, while that still
// rounds to the pixel the window was last reported on; a report of another
// place or size (the user moved it, the window manager imposed a minimum
// size, an answer to an older request came late) is taken as it is. Nothing
// is asked again: a later change of the code asks for what it wants from
// there.
class WindowGeometry {
public:
    // Which of the four a Set changed.
    struct Which {
        bool left = true, top = true, width = true, height = true;
    };

    float Left() const { return m_now.left; }
    float Top() const { return m_now.top; }
    float Width() const { return m_now.width; }
    float Height() const { return m_now.height; }
    Which Set(float left, float top, float width, float height);

    // The outer rectangle in screen pixels for a desktop whose twips start at
    // origin. Edges are rounded rather than sizes, so that windows placed
    // edge to edge in twips also meet on the screen; a size is at least 1.
    QRect OuterPixels(QPoint origin) const;

    // The window system reports the window's outer rectangle. Each of place
    // and size that the twips do not round to any more takes the report's
    // whole pixels; returns whether the size in pixels changed.
    bool Reported(const QRect& outer, QPoint origin);

private:
    struct Twips {
        float left = 0, top = 0, width = 0, height = 0;
    };
    Twips m_set; // as the code last set them
    Twips m_now;
};

} // namespace toolkit
