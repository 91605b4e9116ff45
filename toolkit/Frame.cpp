#include "toolkit/Frame.h"

#include "toolkit/Colors.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace toolkit {

class FrameWidget : public Forwarding<QWidget> {
public:
    FrameWidget(Frame* frame, QWidget* parent) : Forwarding<QWidget>(parent), m_frame(frame) {
        m_control = frame;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
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

private:
    Frame* m_frame;
};

Frame::Frame(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* widget = new FrameWidget(this, parent.ClientWidget());
    widget->setAutoFillBackground(true);
    Attach(widget);
}

void Frame::SetCaption(const QString& value) {
    m_strCaption = value;
    NativeWidget()->update();
}

} // namespace toolkit
