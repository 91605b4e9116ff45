#include "toolkit/MultiLineTextBox.h"

#include "toolkit/Colors.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QPlainTextEdit>

namespace toolkit {

MultiLineTextBox::MultiLineTextBox(Container& parent)
    : Control(parent, vbWindowBackground, vbWindowText) {
    m_edit = new Forwarding<QPlainTextEdit>(*this, parent.ClientWidget());
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Lines wrap at the box's width, as a plain text edit's do from the start.
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_edit->setTabChangesFocus(true);
    // Mouse events reach the viewport, not the edit field itself.
    m_edit->viewport()->setMouseTracking(true);
    m_edit->setReadOnly(true);
    // Read-only still lets the user select and copy, with mouse and keys.
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Attach(m_edit);
}

void MultiLineTextBox::SetText(const QString& value) {
    if (value == m_strText)
        return;
    m_strText = value;
    // The edit field shows a CR LF pair as one break, and a new text from its top.
    m_edit->setPlainText(value);
}

} // namespace toolkit
