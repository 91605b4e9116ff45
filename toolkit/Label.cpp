#include "toolkit/Label.h"

#include "toolkit/Colors.h"
#include "toolkit/Container.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QFontMetrics>
#include <QLabel>

namespace toolkit {

namespace {

QString shownText(const QString& caption) {
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption[i] == QLatin1Char('&'))
            continue;
        text += caption[i];
    }
    return text;
}

} // namespace

Label::Label(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* label = new Forwarding<QLabel>(parent.ClientWidget());
    label->m_control = this;
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    SetTabStop(false);
    Attach(label);
    label->setFocusPolicy(Qt::NoFocus);
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
    // The widget keeps at least its text's width; setGeometry honours that.
    w->setMinimumWidth(QFontMetrics(w->font()).horizontalAdvance(shownText(m_strCaption)));
    applyGeometry();
}

} // namespace toolkit
