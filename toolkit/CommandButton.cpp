#include "toolkit/CommandButton.h"

#include "toolkit/Colors.h"
#include "toolkit/Container.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QPushButton>

namespace toolkit {

// Holds a click that Qt reports inside the release until the release itself
// has been reported, so that handlers see MouseDown, MouseUp, then Click.
class CommandButtonWidget : public Forwarding<QPushButton> {
public:
    CommandButtonWidget(CommandButton* button, QWidget* parent)
        : Forwarding<QPushButton>(parent), m_button(button) {
        m_control = button;
        QObject::connect(this, &QPushButton::clicked, this, [this] {
            if (m_inRelease)
                m_clickPending = true;
            else
                m_button->postClick();
        });
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        m_inRelease = true;
        Forwarding<QPushButton>::mouseReleaseEvent(e);
        m_inRelease = false;
        if (m_clickPending) {
            m_clickPending = false;
            m_button->postClick();
        }
    }

private:
    CommandButton* m_button;
    bool m_inRelease = false;
    bool m_clickPending = false;
};

CommandButton::CommandButton(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    Attach(new CommandButtonWidget(this, parent.ClientWidget()));
}

void CommandButton::SetCaption(const QString& value) {
    m_strCaption = value;
    static_cast<QPushButton*>(NativeWidget())->setText(value);
}

void CommandButton::postClick() {
    post([this] {
        // A copy: the handler may replace OnClick while it runs.
        if (const auto handler = OnClick)
            handler();
    });
}

} // namespace toolkit
