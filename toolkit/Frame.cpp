#include "toolkit/Frame.h"

#include "toolkit/Colors.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace toolkit {

class FrameWidget : public Forwarding<QWidget> {
public:
    using Forwarding<QWidget>::Forwarding;

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
        if (QString caption = static_cast<Frame*>(m_control)->Caption(); !caption.isEmpty()) {
            caption.remove(QLatin1Char('&'));
            const QRect text(8, 0, fm.horizontalAdvance(caption) + 4, fm.height());
            p.fillRect(text, palette().color(QPalette::Window));
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(text, Qt::AlignCenter, caption);
        }
    }
};

Frame::Frame(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* widget = new FrameWidget(*this, parent.ClientWidget());
    widget->setAutoFillBackground(true);
    Attach(widget);
}

void Frame::SetCaption(const QString& value) {
    m_strCaption = value;
    NativeWidget()->update();
}

} // namespace toolkit
