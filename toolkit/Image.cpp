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
    using Forwarding<QWidget>::Forwarding;

protected:
    void paintEvent(QPaintEvent*) override {
        const Picture& picture = static_cast<Image*>(m_control)->Picture();
        if (picture.Empty())
            return;
        const QIcon& icon = picture.Icon();
        const QList<QSize> sizes = icon.availableSizes();
        // The largest picture the icon holds, scaled to the box.
        const auto largest =
            std::ranges::max_element(sizes, {}, [](QSize s) { return s.width() * s.height(); });
        QPainter(this).drawPixmap(rect(), icon.pixmap(largest == sizes.end() ? size() : *largest));
    }
};

Image::Image(Container& parent) : Control(parent, vbButtonFace, vbButtonText) {
    Attach(new ImageWidget(*this, parent.ClientWidget()));
}

void Image::SetPicture(const toolkit::Picture& value) {
    m_picture = value;
    NativeWidget()->update();
}

} // namespace toolkit
