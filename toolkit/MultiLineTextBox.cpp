#include "toolkit/MultiLineTextBox.h"

#include "toolkit/Colors.h"
#include "toolkit/Container.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>

namespace toolkit {

namespace {

// The edit field knows one kind of line break; a CR LF pair must show as one
// break, not as a line and an empty one.
QString shownText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

} // namespace

class MultiLineTextBoxWidget : public Forwarding<QPlainTextEdit> {
public:
    MultiLineTextBoxWidget(MultiLineTextBox* box, QWidget* parent)
        : Forwarding<QPlainTextEdit>(parent) {
        m_control = box;
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setTabChangesFocus(true);
        // Mouse events reach the viewport, not the edit field itself.
        viewport()->setMouseTracking(true);
    }
};

MultiLineTextBox::MultiLineTextBox(Container& parent)
    : Control(parent, vbWindowBackground, vbWindowText) {
    m_edit = new MultiLineTextBoxWidget(this, parent.ClientWidget());
    QObject::connect(m_edit, &QPlainTextEdit::textChanged, m_edit, [this] {
        if (!m_blnSetting)
            userEdited();
    });
    Attach(m_edit);
}

void MultiLineTextBox::SetText(const QString& value) {
    if (value == m_strText)
        return;
    m_strText = value;
    {
        m_blnSetting = true;
        const QSignalBlocker block(m_edit);
        m_edit->setPlainText(shownText(value));
        m_blnSetting = false;
    }
    m_edit->verticalScrollBar()->setValue(0);
    raiseChange();
}

void MultiLineTextBox::SetLocked(bool value) {
    m_blnLocked = value;
    m_edit->setReadOnly(value);
    // Read-only still lets the user select and copy, with mouse and keys.
    m_edit->setTextInteractionFlags(value ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                          : Qt::TextEditorInteraction);
}

void MultiLineTextBox::userEdited() {
    // What the user typed is kept with the line breaks a text box hands out.
    QString text = m_edit->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (text == shownText(m_strText).replace(QLatin1Char('\n'), QStringLiteral("\r\n")))
        return;
    m_strText = text;
    post([this] { raiseChange(); });
}

void MultiLineTextBox::raiseChange() {
    if (OnChange) {
        const auto handler = OnChange;
        handler();
    }
}

} // namespace toolkit
