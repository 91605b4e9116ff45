#pragma once

#include "toolkit/Container.h"
#include "toolkit/Control.h"

#include <QPointF>
#include <QString>

#include <memory>
#include <vector>

namespace toolkit {

class FrameWidget;
class TextBox;

// A container that clips its children. With BorderStyle 1 it draws an etched
// border with its caption; with 0 it is a plain area of its BackColor.
//
// A frame can also draw bare text boxes inside it itself (PaintTextBox): all
// of them in one paint, from their exact twips, so that boxes placed end to
// end move together as one picture. The drawing is anchored on the first box
// handed over: it stands on the pixel its Left rounds to and the others keep
// their exact distance from it, so moving them all by a few twips either
// changes no pixel or shifts the whole line by whole pixels.
class Frame : public Control, public Container {
public:
    explicit Frame(Container& parent);
    ~Frame() override;

    QString Caption() const { return m_strCaption; }
    void SetCaption(const QString& value);
    int16_t BorderStyle() const { return m_intBorderStyle; }
    void SetBorderStyle(int16_t value);

    // Draws the box from now on; the box must be a child of this frame and
    // tells the frame of its changes until it is destroyed.
    void PaintTextBox(TextBox& box);

    QWidget* ClientWidget() const override { return NativeWidget(); }
    Window& TopWindow() override { return ParentWindow(); }

    // Toolkit internals: a painted box has changed; a change of place or size
    // is drawn only when it moves some pixel.
    void PaintedBoxChanged(bool geometryOnly);
    void PaintedBoxGone(TextBox& box);
    // The painted box at a point of the frame, with the point made relative
    // to the box; null where there is none.
    TextBox* PaintedBoxAt(QPointF& px) const;

private:
    friend class FrameWidget;
    // Where a box stands in the picture: x is the pixel the first box
    // stands on (origin) plus offset.
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
    Picture placeBoxes() const;
    void checkPicture();
    void paintBoxes(class QPainter& p) const;

    QString m_strCaption;
    int16_t m_intBorderStyle = 1;
    std::vector<TextBox*> m_painted;
    Picture m_shown; // the picture asked for last
    bool m_checkQueued = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace toolkit
