#pragma once

#include "toolkit/Control.h"

#include <QFont>
#include <QPointF>
#include <QPixmap>
#include <QString>

#include <array>
#include <memory>
#include <vector>

class QPainter;
class StripView;

// One of the strip's text boxes. It has no widget of its own: the strip view
// draws it as bare text from its top-left corner, so that its size is exactly
// its text's measured size. It cannot be edited and takes no focus.
class StripText : public toolkit::Control {
public:
    explicit StripText(StripView& view);

    QString Text() const { return m_strText; }
    void SetText(const QString& value);

private:
    friend class StripView;
    // A move is shown when the view presents the step; everything else at once.
    void applyGeometry() override {}
    void applyVisibility() override;
    void applyColors() override;
    void fontChanged() override;
    void paint(QPainter& p, const QRectF& at);

    StripView& m_view;
    QString m_strText;
    QFont m_qfont;
    // The box drawn once for its many paints: a step uncovers a column or two
    // of it, which is copied instead of drawing the whole text clipped.
    QPixmap m_picture;
    bool m_pictureValid = false;
};

// The strip's frame and the one widget that draws the scrolling text: a plain
// area of its BackColor with both text boxes painted in one paint. The line is
// anchored on the first box: it stands on the pixel its Left rounds to and the
// second keeps its exact distance from it, so that a step of a few twips
// either changes no pixel or shifts the whole line by whole pixels, which
// Present shows by scrolling the picture already drawn.
class StripView : public toolkit::Control, public toolkit::Container {
public:
    explicit StripView(toolkit::Window& window);

    StripText& Box(int index) { return *m_boxes.at(static_cast<std::size_t>(index)); }

    // Shows where the boxes stand now, once all of them have moved: nothing
    // when no pixel changes, a scroll when the line moved as a whole.
    void Present();

    QWidget* ClientWidget() const override { return NativeWidget(); }
    toolkit::Window& TopWindow() override { return ParentWindow(); }

private:
    friend class StripText;
    friend class StripWidget;
    // Where a box stands in the picture: x is the anchor's pixel plus offset.
    struct Placed {
        bool visible;
        double offset;
        int y;
        double width;
        int height;
        bool operator==(const Placed&) const = default;
    };
    struct Picture {
        int origin = 0;
        std::vector<Placed> boxes;
    };
    Picture place() const;
    QRectF area(const Picture& picture, std::size_t i) const;
    void redraw();
    void paint(QPainter& p);
    // The visible box at a point of the view, the point made relative to it.
    StripText* boxAt(QPointF& px);

    std::array<std::unique_ptr<StripText>, 2> m_boxes;
    Picture m_shown; // the picture drawn or asked for last
};
