#include "toolkit/TextBox.h"

#include "toolkit/Colors.h"
#include "toolkit/Container.h"
#include "toolkit/Error.h"
#include "toolkit/ForwardingWidget_p.h"
#include "toolkit/Frame.h"
#include "toolkit/StdFont.h"
#include "toolkit/Window.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>

#include <limits>

namespace toolkit {

class TextBoxWidget : public Forwarding<QLineEdit> {
public:
    TextBoxWidget(TextBox* box, QWidget* parent) : Forwarding<QLineEdit>(parent), m_box(box) {}
    TextBox* m_box;

protected:
    bool baseMouse() const override { return !(m_box && m_box->plain()); }

    void paintEvent(QPaintEvent* e) override {
        if (!m_box || !m_box->plain()) {
            QLineEdit::paintEvent(e);
            return;
        }
        QPainter p(this);
        m_box->PaintBare(p, QRectF(rect()));
    }
};

TextBox::TextBox(Container& parent) : Control(parent, vbWindowBackground, vbWindowText) {
    m_edit = new TextBoxWidget(this, parent.ClientWidget());
    m_edit->m_control = this;
    // A text box keeps whatever it is given; the edit field's own limit is far lower.
    m_edit->setMaxLength(std::numeric_limits<int>::max());
    QObject::connect(m_edit, &QLineEdit::textEdited, m_edit, [this](const QString&) {
        ParentWindow().PostHandler([this] { raiseChange(); });
    });
    Attach(m_edit);
}

TextBox::~TextBox() {
    if (m_painter)
        m_painter->PaintedBoxGone(*this);
}

void TextBox::SetPainter(Frame* frame) {
    m_painter = frame;
    applyVisibility();
    if (!m_painter)
        applyGeometry();
}

// Bare text with no frame or margin, as the box was measured.
void TextBox::PaintBare(QPainter& p, const QRectF& at) const {
    p.save();
    p.setClipRect(at);
    p.fillRect(at, ToQColor(BackColor()));
    p.setFont(m_edit->font());
    p.setPen(ToQColor(ForeColor()));
    if (!m_laidOutValid) {
        m_laidOut.setText(m_edit->text());
        m_laidOut.setTextFormat(Qt::PlainText);
        m_laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
        m_laidOut.prepare(QTransform(), m_edit->font());
        m_laidOutValid = true;
    }
    p.drawStaticText(at.topLeft(), m_laidOut);
    p.restore();
}

void TextBox::applyGeometry() {
    if (m_painter)
        m_painter->PaintedBoxChanged(true);
    else
        Control::applyGeometry();
}

void TextBox::applyVisibility() {
    if (!m_painter) {
        Control::applyVisibility();
        return;
    }
    m_edit->setVisible(false);
    m_painter->PaintedBoxChanged(false);
}

void TextBox::applyColors() {
    Control::applyColors();
    if (m_painter)
        m_painter->PaintedBoxChanged(false);
}

void TextBox::fontChanged() {
    Control::fontChanged();
    m_laidOutValid = false;
    if (m_painter)
        m_painter->PaintedBoxChanged(false);
}

QString TextBox::Text() const { return m_edit->text(); }

void TextBox::SetText(const QString& value) {
    if (value == m_edit->text())
        return;
    {
        const QSignalBlocker block(m_edit);
        m_edit->setText(value);
        m_edit->setCursorPosition(0);
    }
    m_laidOutValid = false;
    if (m_painter)
        m_painter->PaintedBoxChanged(false);
    else if (plain())
        m_edit->update();
    raiseChange();
}

void TextBox::raiseChange() {
    if (OnChange) {
        const auto handler = OnChange;
        handler();
    }
}

void TextBox::SetLocked(bool value) {
    m_blnLocked = value;
    m_edit->setReadOnly(value);
    m_edit->update();
}

void TextBox::SetBorderStyle(int16_t value) {
    if (value != 0 && value != 1)
        throw Error::InvalidPropertyValue();
    m_intBorderStyle = value;
    m_edit->setFrame(value == 1);
    m_edit->setTextMargins(0, 0, 0, 0);
    m_edit->update();
}

int32_t TextBox::SelStart() const { return m_edit->cursorPosition(); }

void TextBox::SetSelStart(int32_t value) {
    if (value < 0)
        throw Error::InvalidPropertyValue();
    m_edit->setCursorPosition(std::min<int32_t>(value, static_cast<int32_t>(m_edit->text().size())));
}

} // namespace toolkit
