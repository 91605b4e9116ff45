#include "toolkit/Desktop.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

#include <algorithm>
#include <utility>

namespace toolkit {

namespace {

std::function<int32_t(int32_t)> g_metricsSource;

// A one-line menu bar: a line of the application font and its padding.
constexpr int kMenuBarPaddingPx = 6;

} // namespace

int32_t GetSystemMetrics(int32_t index) {
    // A copy: the source may replace itself while it runs.
    if (const auto source = g_metricsSource)
        return source(index);
    // No screen without a QGuiApplication.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect area = screen->availableGeometry();
    const int height = std::max(0, area.height());
    // Never more than the whole height, so that the rest is not negative.
    const int menu =
        std::min(height, QFontMetrics(QGuiApplication::font()).height() + kMenuBarPaddingPx);
    switch (index) {
    case SM_CYMENU:
        return menu;
    case SM_CXFULLSCREEN:
        return std::max(0, area.width());
    case SM_CYFULLSCREEN:
        return height - menu;
    default:
        return 0;
    }
}

std::function<int32_t(int32_t index)>
SetSystemMetricsSource(std::function<int32_t(int32_t index)> source) {
    return std::exchange(g_metricsSource, std::move(source));
}

} // namespace toolkit
