#include "toolkit/Label.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/ForwardingWidget_p.h"
#include "toolkit/Twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace toolkit {

namespace {

// An "&" shows the character after it, so "&&" shows one "&"; a last "&" shows nothing.
QString shownText(QString caption) {
    // Each search starts after the character that the removed "&" stood before.
    for (qsizetype i = caption.indexOf(u'&'); i >= 0; i = caption.indexOf(u'&', i + 1))
        caption.remove(i, 1);
    return caption;
}

// The pixel height that the label's own box has on the screen.
int boxHeight(const Control& c) {
    return TwipsToPixels(double{c.Top()} + c.Height()) - TwipsToPixels(c.Top());
}

// Fills only the label's own box with its colour: text taller than the box (a descender) is
// drawn over whatever stands below it, rather than hidden or covering it with a band.
class LabelWidget : public Forwarding<QLabel> {
public:
    using Forwarding<QLabel>::Forwarding;

protected:
    void paintEvent(QPaintEvent* e) override {
        {
            QPainter painter(this);
            painter.fillRect(0, 0, width(), std::min(height(), boxHeight(*m_control)),
                             palette().color(QPalette::Window));
        }
        Forwarding<QLabel>::paintEvent(e);
    }
    // Shown with its window, once the controls made after it are there too.
    void showEvent(QShowEvent* e) override {
        Forwarding<QLabel>::showEvent(e);
        raiseIfTaller();
    }

public:
    // Text that reaches below the box is drawn above the controls it reaches into.
    void raiseIfTaller() {
        if (height() > boxHeight(*m_control))
            raise();
    }
};

} // namespace

Label::Label(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* label = new LabelWidget(*this, parent.ClientWidget());
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Attach(label);
}

void Label::SetCaption(const QString& value) {
    m_strCaption = value;
    static_cast<QLabel*>(NativeWidget())->setText(shownText(value));
    fitText();
}

void Label::fontChanged() {
    Control::fontChanged();
    fitText();
}

void Label::fitText() {
    QWidget* w = NativeWidget();
    if (!w)
        return;
    // The widget keeps at least its text's width and line height, so that a face taller than
    // the one the label was sized for keeps its descenders; setGeometry honours that.
    const QFontMetrics metrics(w->font());
    w->setMinimumSize(metrics.horizontalAdvance(shownText(m_strCaption)), metrics.height());
    applyGeometry();
    static_cast<LabelWidget*>(w)->raiseIfTaller();
}

void Label::SetAlignment(int16_t value) {
    if (value != vbLeftJustify && value != vbRightJustify)
        throw Error::InvalidPropertyValue();
    static_cast<QLabel*>(NativeWidget())
        ->setAlignment((value == vbRightJustify ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
}

} // namespace toolkit
