#include "toolkit/Colors.h"

#include "toolkit/Error.h"

#include <QApplication>
#include <QPalette>

namespace toolkit {

namespace {

constexpr int kLastSystemColor = 24;

// The palette role of each system colour, in the order of their numbers: scroll bars, desktop,
// active and inactive title bar, menu, window, window frame, menu text, window text, title bar
// text, active and inactive border, application workspace, highlight, highlighted text, button
// face, button shadow, grey text, button text, inactive title bar text, 3-D highlight, 3-D dark
// shadow, 3-D light, tooltip text and tooltip background. Grey text (17) and inactive title
// bar text (19) are read from the disabled group.
using R = QPalette::ColorRole;
constexpr R kSystemRoles[kLastSystemColor + 1] = {
    R::Mid,    R::Dark,   R::Highlight,  R::Mid,         R::Window,
    R::Base,   R::Shadow, R::WindowText, R::Text,        R::HighlightedText,
    R::Window, R::Window, R::Mid,        R::Highlight,   R::HighlightedText,
    R::Button, R::Dark,   R::Text,       R::ButtonText,  R::WindowText,
    R::Light,  R::Shadow, R::Midlight,   R::ToolTipText, R::ToolTipBase};

} // namespace

void CheckColor(int32_t color) {
    const auto u = static_cast<uint32_t>(color);
    if ((u & 0x80000000u) ? (u & 0x7FFFFFFFu) > kLastSystemColor : u > 0x00FFFFFFu)
        throw Error::InvalidPropertyValue();
}

QColor ToQColor(int32_t color) {
    const auto u = static_cast<uint32_t>(color);
    if (!(u & 0x80000000u))
        return QColor(u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
    const uint32_t n = u & 0x7FFFFFFFu;
    if (n > kLastSystemColor)
        return QColor(Qt::black);
    const QPalette pal = QApplication::palette();
    const bool disabled = n == 17 || n == 19;
    return pal.color(disabled ? QPalette::Disabled : pal.currentColorGroup(), kSystemRoles[n]);
}

} // namespace toolkit
