#include "toolkit/Image.h"

#include "toolkit/Colors.h"
#include "toolkit/ForwardingWidget_p.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

namespace toolkit {

class ImageWidget : public Forwarding<QWidget> {
public:
    ImageWidget(Image* image, QWidget* parent) : Forwarding<QWidget>(parent), m_image(image) {
        m_control = image;
    }
    Image* m_image;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!m_image || m_image->m_picture.Empty())
            return;
        const QIcon& icon = *m_image->m_picture.Icon();
        const QList<QSize> sizes = icon.availableSizes();
        // The largest picture the icon holds, scaled to the box.
        const auto largest = std::max_element(sizes.begin(), sizes.end(), [](QSize a, QSize b) {
            return a.width() * a.height() < b.width() * b.height();
        });
        QPainter(this).drawPixmap(rect(), icon.pixmap(largest == sizes.end() ? size() : *largest));
    }
};

Image::Image(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    auto* widget = new ImageWidget(this, parent.ClientWidget());
    Attach(widget);
    widget->setFocusPolicy(Qt::NoFocus);
}

void Image::SetPicture(const toolkit::Picture& value) {
    m_picture = value;
    NativeWidget()->update();
}

} // namespace toolkit
