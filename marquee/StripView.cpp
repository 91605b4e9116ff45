#include "marquee/StripView.h"

#include "toolkit/Colors.h"
#include "toolkit/Events.h"
#include "toolkit/Mouse.h"
#include "toolkit/Twips.h"
#include "toolkit/Window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <QFontMetricsF>

#include <cmath>

namespace {

constexpr qreal kMaxPictureWidth = 32000;

} // namespace

class StripWidget : public QWidget {
public:
    StripWidget(StripView& view, QWidget* parent) : QWidget(parent), m_view(view) {
        // Every pixel is painted, so that a scroll needs no background first.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        m_view.paint(p);
    }
    void mousePressEvent(QMouseEvent* e) override { mouse(toolkit::MouseKind::Down, *e); }
    void mouseMoveEvent(QMouseEvent* e) override { mouse(toolkit::MouseKind::Move, *e); }
    void mouseReleaseEvent(QMouseEvent* e) override { mouse(toolkit::MouseKind::Up, *e); }

private:
    // A press on a box is the box's, as it would be on a widget of its own;
    // the notification runs from the event loop, unless the view is gone.
    void mouse(toolkit::MouseKind kind, QMouseEvent& e) {
        e.accept();
        QPointF at = e.position();
        toolkit::Control* target = m_view.boxAt(at);
        if (!target)
            target = &m_view;
        toolkit::MouseArgs args = toolkit::ToMouseArgs(kind, e);
        args.X = toolkit::PixelsToTwips(at.x());
        args.Y = toolkit::PixelsToTwips(at.y());
        m_view.ParentWindow().PostHandler([view = QPointer<QWidget>(this), target, kind, args] {
            if (view)
                toolkit::RaiseMouse(kind, args, target->OnMouseDown, target->OnMouseMove,
                                    target->OnMouseUp);
        });
    }

    StripView& m_view;
};

StripText::StripText(StripView& view)
    : toolkit::Control(view, toolkit::vbWindowBackground, toolkit::vbWindowText), m_view(view),
      m_qfont(toolkit::ToQFont(Font())) {}

void StripText::SetText(const QString& value) {
    if (value == m_strText)
        return;
    m_strText = value;
    m_pictureValid = false;
    m_view.redraw();
}

void StripText::applyVisibility() { m_view.redraw(); }

void StripText::applyColors() {
    m_pictureValid = false;
    m_view.redraw();
}

void StripText::fontChanged() {
    m_qfont = toolkit::ToQFont(Font());
    m_pictureValid = false;
    m_view.redraw();
}

void StripText::paint(QPainter& p, const QRectF& at) {
    const QColor back = toolkit::ToQColor(BackColor());
    const QColor fore = toolkit::ToQColor(ForeColor());
    const QSize size(static_cast<int>(std::ceil(at.width())), static_cast<int>(std::ceil(at.height())));
    const qreal ratio = p.device()->devicePixelRatioF();
    // A picture wider than a pixmap may be is drawn as text each time.
    if (size.width() * ratio > kMaxPictureWidth) {
        p.save();
        p.setClipRect(at, Qt::IntersectClip);
        p.fillRect(at, back);
        p.setFont(m_qfont);
        p.setPen(fore);
        p.drawText(at.topLeft() + QPointF(0, QFontMetricsF(m_qfont).ascent()), m_strText);
        p.restore();
        return;
    }
    if (!m_pictureValid || m_picture.deviceIndependentSize().toSize() != size ||
        m_picture.devicePixelRatio() != ratio) {
        m_picture = QPixmap(size * ratio);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(back);
        QPainter q(&m_picture);
        q.setFont(m_qfont);
        q.setPen(fore);
        q.drawText(QPointF(0, QFontMetricsF(m_qfont).ascent()), m_strText);
        m_pictureValid = true;
    }
    p.drawPixmap(at.topLeft(), m_picture);
}

StripView::StripView(toolkit::Window& window)
    : toolkit::Control(window, toolkit::vbButtonFace, toolkit::vbButtonText) {
    Attach(new StripWidget(*this, window.ClientWidget()));
    for (auto& box : m_boxes)
        box = std::make_unique<StripText>(*this);
}

StripView::Picture StripView::place() const {
    Picture picture;
    const float anchor = m_boxes[0]->Left();
    picture.origin = toolkit::TwipsToPixels(anchor);
    for (const auto& box : m_boxes) {
        const int y = toolkit::TwipsToPixels(box->Top());
        picture.boxes.push_back({box->Visible(),
                                 (double{box->Left()} - anchor) / toolkit::kTwipsPerPixel, y,
                                 double{box->Width()} / toolkit::kTwipsPerPixel,
                                 toolkit::TwipsToPixels(double{box->Top()} + box->Height()) - y});
    }
    return picture;
}

QRectF StripView::area(const Picture& picture, std::size_t i) const {
    const Placed& at = picture.boxes[i];
    return QRectF(picture.origin + at.offset, at.y, at.width, at.height);
}

void StripView::Present() {
    QWidget* widget = NativeWidget();
    if (!widget)
        return;
    Picture picture = place();
    const bool sameLine = picture.boxes == m_shown.boxes;
    const int dx = picture.origin - m_shown.origin;
    if (sameLine && dx == 0)
        return;
    m_shown = std::move(picture);
    if (sameLine && std::abs(dx) < widget->width()) {
        // Only the column the line uncovers is painted anew.
        widget->scroll(dx, 0, widget->rect());
    } else {
        widget->update();
    }
    toolkit::NoteVisibleChange();
}

void StripView::redraw() {
    if (QWidget* widget = NativeWidget()) {
        m_shown = place();
        widget->update();
        toolkit::NoteVisibleChange();
    }
}

void StripView::paint(QPainter& p) {
    p.fillRect(NativeWidget()->rect(), toolkit::ToQColor(BackColor()));
    m_shown = place();
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QRectF at = area(m_shown, i);
        if (m_shown.boxes[i].visible && !at.isEmpty())
            m_boxes[i]->paint(p, at);
    }
}

StripText* StripView::boxAt(QPointF& px) {
    const Picture picture = place();
    // The second box lies on top, as the later of two sibling widgets does.
    for (std::size_t i = picture.boxes.size(); i-- > 0;) {
        const QRectF at = area(picture, i);
        if (picture.boxes[i].visible && at.contains(px)) {
            px -= at.topLeft();
            return m_boxes[i].get();
        }
    }
    return nullptr;
}
