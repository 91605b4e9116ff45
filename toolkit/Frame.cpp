#include "toolkit/Frame.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/ForwardingWidget_p.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace toolkit {

class FrameWidget : public Forwarding<QWidget> {
public:
    FrameWidget(Frame* frame, QWidget* parent) : Forwarding<QWidget>(parent), m_frame(frame) {}
    Frame* m_frame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        if (!m_frame)
            return;
        m_frame->paintBoxes(p);
        if (m_frame->m_intBorderStyle == 0)
            return;
        const QFontMetrics fm(font());
        const int top = fm.height() / 2;
        const QRect box = rect().adjusted(0, top, -2, -2);
        p.setPen(palette().color(QPalette::Dark));
        p.drawRect(box);
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(box.translated(1, 1));
        if (!m_frame->m_strCaption.isEmpty()) {
            QString caption = m_frame->m_strCaption;
            caption.remove(QLatin1Char('&'));
            const QRect text(8, 0, fm.horizontalAdvance(caption) + 4, fm.height());
            p.fillRect(text, palette().color(QPalette::Window));
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(text, Qt::AlignCenter, caption);
        }
    }

    // A press on a painted box is the box's, as it would be on its own widget.
    Control* mouseTarget(QPointF& at) override {
        if (m_frame) {
            if (TextBox* box = m_frame->PaintedBoxAt(at))
                return box;
        }
        return m_control;
    }
};

Frame::Frame(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* widget = new FrameWidget(this, parent.ClientWidget());
    widget->m_control = this;
    widget->setAutoFillBackground(true);
    Attach(widget);
}

Frame::~Frame() {
    for (TextBox* box : m_painted)
        box->SetPainter(nullptr);
    if (auto* widget = static_cast<FrameWidget*>(NativeWidget()))
        widget->m_frame = nullptr;
}

void Frame::SetCaption(const QString& value) {
    m_strCaption = value;
    NativeWidget()->update();
}

void Frame::SetBorderStyle(int16_t value) {
    if (value != 0 && value != 1)
        throw Error::InvalidPropertyValue();
    m_intBorderStyle = value;
    NativeWidget()->update();
}

void Frame::PaintTextBox(TextBox& box) {
    if (std::find(m_painted.begin(), m_painted.end(), &box) != m_painted.end())
        return;
    m_painted.push_back(&box);
    box.SetPainter(this);
    PaintedBoxChanged(false);
}

void Frame::PaintedBoxGone(TextBox& box) {
    m_painted.erase(std::remove(m_painted.begin(), m_painted.end(), &box), m_painted.end());
    PaintedBoxChanged(false);
}

Frame::Picture Frame::placeBoxes() const {
    Picture picture;
    if (m_painted.empty())
        return picture;
    const float anchor = m_painted.front()->Left();
    picture.origin = TwipsToPixels(anchor);
    picture.boxes.reserve(m_painted.size());
    for (const TextBox* box : m_painted) {
        const int y = TwipsToPixels(box->Top());
        picture.boxes.push_back({box->Visible(), (double{box->Left()} - anchor) / kTwipsPerPixel, y,
                                 double{box->Width()} / kTwipsPerPixel,
                                 TwipsToPixels(double{box->Top()} + box->Height()) - y});
    }
    return picture;
}

void Frame::PaintedBoxChanged(bool geometryOnly) {
    QWidget* widget = NativeWidget();
    if (!widget)
        return;
    if (!geometryOnly) {
        m_shown = placeBoxes();
        widget->update();
        NoteVisibleChange();
        return;
    }
    // A step moves the boxes one after the other; the picture is judged once
    // they have all moved, before the next yield or before the event loop
    // goes idle.
    if (m_checkQueued)
        return;
    m_checkQueued = true;
    DeferPictureCheck([this, alive = std::weak_ptr<bool>(m_alive)] {
        if (alive.expired())
            return;
        m_checkQueued = false;
        checkPicture();
    });
}

void Frame::checkPicture() {
    QWidget* widget = NativeWidget();
    if (!widget)
        return;
    Picture picture = placeBoxes();
    const bool sameLine = picture.boxes == m_shown.boxes;
    const int dx = picture.origin - m_shown.origin;
    if (sameLine && dx == 0)
        return;
    m_shown = std::move(picture);
    if (sameLine && std::abs(dx) < widget->width()) {
        // The whole line moved by whole pixels: the picture already drawn is
        // shifted and only the strip it uncovers is painted.
        widget->scroll(dx, 0, widget->rect());
    } else {
        widget->update();
    }
    NoteVisibleChange();
}

void Frame::paintBoxes(QPainter& p) const {
    const Picture picture = placeBoxes();
    for (std::size_t i = 0; i < m_painted.size(); ++i) {
        const Placed& at = picture.boxes[i];
        if (!at.visible || at.width <= 0 || at.height <= 0)
            continue;
        m_painted[i]->PaintBare(
            p, QRectF(picture.origin + at.offset, at.y, at.width, at.height));
    }
}

TextBox* Frame::PaintedBoxAt(QPointF& px) const {
    const Picture picture = placeBoxes();
    // The box made last lies on top, as sibling widgets do.
    for (std::size_t i = m_painted.size(); i-- > 0;) {
        const Placed& at = picture.boxes[i];
        const QRectF area(picture.origin + at.offset, at.y, at.width, at.height);
        if (at.visible && area.contains(px)) {
            px -= area.topLeft();
            return m_painted[i];
        }
    }
    return nullptr;
}

} // namespace toolkit
