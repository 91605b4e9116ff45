#pragma once

#include <QPoint>
#include <QRect>

#include <vector>

namespace toolkit {

// Where a top-level window stands and how big it is: outer Left, Top, Width
// and Height in twips, exactly as the code last set them, and the rule that
// tells the window system's answers to the window's own requests from what
// the user or the window manager did.
//
// The twips are the one truth for what the code set. Every change of them
// goes out as one request for the whole outer rectangle in pixels. Until the
// window system reports that rectangle back, the request is outstanding and
// every report is taken for an echo: of an older request, of a request half
// carried out (the new place with the old size), or of the window manager's
// own first placement. Echoes change nothing. With no request outstanding, a
// report that differs from the previous one is something the user or the
// window manager did (a move, a resize, a maximise, a work-area change), and
// the twips take the part of it that changed. A window manager may alter or
// refuse a request, so that it never comes back as sent: the request stops
// being outstanding when the window system has gone quiet (Settle), and what
// the window manager made of it is not taken as a change. On a loaded machine
// the answers may come later still: until a request comes back as sent, a
// report whose place and size are each those of some request still
// unanswered is taken for an echo as well.
class WindowGeometry {
public:
    struct Change {
        bool moved = false;
        bool resized = false;
    };

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    void Set(float left, float top, float width, float height);

    // The outer rectangle in screen pixels for a desktop whose twips start at
    // origin. Edges are rounded rather than sizes, so that windows placed
    // edge to edge in twips also meet on the screen; a size is at least 1.
    QRect OuterPixels(QPoint origin) const;

    // The window system has been asked for this outer rectangle.
    void Requested(const QRect& outer);
    // The window has just been mapped at this outer rectangle. Until the
    // window system goes quiet, a report whose place and size are each those
    // of some request since then is the window manager placing the window,
    // even after the latest request has come back as sent: a window manager
    // that read the window's size before that request may apply and report
    // the older size afterwards. A place never asked for is still the user's.
    void Shown(const QRect& outer);
    bool Outstanding() const { return m_outstanding || m_placing; }
    // Whether the window was last reported anywhere other than where the
    // twips put it.
    bool Displaced(QPoint origin) const { return m_reported != OuterPixels(origin); }
    const QRect& LastRequested() const { return m_requested; }

    // The window system reports the window's outer rectangle. Returns what
    // the twips took from it: nothing for an echo of the window's requests.
    Change Reported(const QRect& outer, QPoint origin);

    // The window system has gone quiet with the window standing at outer: an
    // outstanding request has been carried out as far as it will be.
    void Settle(const QRect& outer);

    // Takes the window's place from the window system outright, as at the end
    // of an interactive move; the size stays as set.
    void AdoptPosition(const QRect& outer, QPoint origin);

private:
    bool echoOfUnanswered(const QRect& outer) const;

    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
    bool m_outstanding = false;
    bool m_placing = false;
    QRect m_requested;
    QRect m_reported;
    std::vector<QRect> m_unanswered; // requests sent since one last came back as sent
};

} // namespace toolkit
