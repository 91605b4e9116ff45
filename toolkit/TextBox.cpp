#include "toolkit/TextBox.h"

#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QLineEdit>

#include <limits>

namespace toolkit {

TextBox::TextBox(Container& parent) : Control(parent, vbWindowBackground, vbWindowText) {
    m_edit = new Forwarding<QLineEdit>(*this, parent.ClientWidget());
    // A text box keeps whatever it is given; the edit field's own limit is far lower.
    m_edit->setMaxLength(std::numeric_limits<int>::max());
    QObject::connect(m_edit, &QLineEdit::textEdited, m_edit,
                     [this](const QString&) { post([this] { raise(OnChange); }); });
    Attach(m_edit);
}

QString TextBox::Text() const { return m_edit->text(); }

void TextBox::SetText(const QString& value) {
    if (value == m_edit->text())
        return;
    // Only the user's edits are reported by the field itself (textEdited).
    m_edit->setText(value);
    m_edit->setCursorPosition(0);
    raise(OnChange);
}

int32_t TextBox::SelStart() const { return m_edit->cursorPosition(); }

void TextBox::SetSelStart(int32_t value) {
    if (value < 0)
        throw Error::InvalidPropertyValue();
    m_edit->setCursorPosition(std::min<int32_t>(value, static_cast<int32_t>(m_edit->text().size())));
}

} // namespace toolkit
