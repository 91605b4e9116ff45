#include "toolkit/Colors.h"

#include "toolkit/Error.h"

#include <QApplication>
#include <QPalette>

namespace toolkit {

namespace {

constexpr int kLastSystemColor = 24;

QColor systemColor(int n) {
    const QPalette pal = QApplication::palette();
    using R = QPalette::ColorRole;
    switch (n) {
    case 0: return pal.color(R::Mid);              // scroll bars
    case 1: return pal.color(R::Dark);             // desktop
    case 2: return pal.color(R::Highlight);        // active title bar
    case 3: return pal.color(R::Mid);              // inactive title bar
    case 4: return pal.color(R::Window);           // menu background
    case 5: return pal.color(R::Base);             // window background
    case 6: return pal.color(R::Shadow);           // window frame
    case 7: return pal.color(R::WindowText);       // menu text
    case 8: return pal.color(R::Text);             // window text
    case 9: return pal.color(R::HighlightedText);  // title bar text
    case 10: return pal.color(R::Window);          // active border
    case 11: return pal.color(R::Window);          // inactive border
    case 12: return pal.color(R::Mid);             // application workspace
    case 13: return pal.color(R::Highlight);
    case 14: return pal.color(R::HighlightedText);
    case 15: return pal.color(R::Button);          // button face
    case 16: return pal.color(R::Dark);            // button shadow
    case 17: return pal.color(QPalette::Disabled, R::Text);
    case 18: return pal.color(R::ButtonText);
    case 19: return pal.color(QPalette::Disabled, R::WindowText);
    case 20: return pal.color(R::Light);
    case 21: return pal.color(R::Shadow);
    case 22: return pal.color(R::Midlight);
    case 23: return pal.color(R::ToolTipText);
    default: return pal.color(R::ToolTipBase);
    }
}

} // namespace

void CheckColor(int32_t color) {
    const auto u = static_cast<uint32_t>(color);
    if (u & 0x80000000u) {
        if ((u & 0x7FFFFFFFu) > kLastSystemColor)
            throw Error::InvalidPropertyValue();
    } else if (u > 0x00FFFFFFu) {
        throw Error::InvalidPropertyValue();
    }
}

QColor ToQColor(int32_t color) {
    const auto u = static_cast<uint32_t>(color);
    if (u & 0x80000000u) {
        const uint32_t n = u & 0x7FFFFFFFu;
        return n <= kLastSystemColor ? systemColor(static_cast<int>(n)) : QColor(Qt::black);
    }
    return QColor(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
}

int32_t FromQColor(const QColor& color) { return RGB(color.red(), color.green(), color.blue()); }

} // namespace toolkit
