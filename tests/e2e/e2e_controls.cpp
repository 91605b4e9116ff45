#include "XProbe.h"
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "toolkit/Lifecycle.h"
#include "toolkit/Startup.h"
#include "toolkit/WindowSystem.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <set>

// The Speed bar of the expanded panel on a real X server with openbox, moved with the
// pointer as a user moves it (xdotool): a drag of the thumb by a few pixels, and the right
// arrow clicked through the whole range.

namespace {

using namespace xprobe;

void pointer(const QStringList& args) { run(QStringLiteral("xdotool"), args); }

class SpeedBarOnX : public ::testing::Test {
protected:
    void SetUp() override {
        const QString reason = unavailableReason();
        if (!reason.isEmpty())
            GTEST_SKIP() << "no X server for the end-to-end test: " << reason.toStdString();
        toolkit::SetEndHook([] {});
        ModuleMain::Main();
        ASSERT_EQ(FormMain::LoadedPanels().size(), 1u);
        panel = FormMain::LoadedPanels().front();
        // The panel's place is the centre of the work area; the window manager puts it
        // somewhere first, so the bar is looked for once the panel has come there.
        const uint64_t id = toolkit::NativeWindowId(panel->hwnd());
        ASSERT_TRUE(waitUntil([&] {
            const QPoint off = outerOnScreen(id).center() - workArea().center();
            return std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2;
        })) << "the panel is at " << shown(outerOnScreen(id));
        panel->mnuOptionPanel_Click(); // expanded: the Speed Control frame shows
        bar = static_cast<QScrollBar*>(panel->HScrollSpeed().NativeWidget());
        ASSERT_TRUE(waitUntil([&] {
            const QRect now(bar->mapToGlobal(QPoint(0, 0)), bar->size());
            return bar->isVisible() && onScreen(id).contains(now);
        }));
    }

    void TearDown() override {
        if (panel)
            panel->UnloadWithoutQuery();
        toolkit::SetEndHook({});
    }

    // A part of the bar on the screen, as the style places it at the bar's current value.
    QRect part(QStyle::SubControl sub) const {
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = Qt::Horizontal;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.state |= QStyle::State_Horizontal;
        const QRect r = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, sub, bar);
        return QRect(bar->mapToGlobal(r.topLeft()), r.size());
    }

    // Waits until the bar's value differs from `before`; the bar reports it once let go.
    int16_t valueAfter(int16_t before) {
        waitUntil([&] { return panel->HScrollSpeed().Value() != before; });
        return panel->HScrollSpeed().Value();
    }

    std::shared_ptr<FormMain> panel;
    QScrollBar* bar = nullptr;
};

TEST_F(SpeedBarOnX, theThumbIsSmallADragMovesByFourAPixelAtMostAndTheArrowReachesEveryValue) {
    const QRect track = part(QStyle::SC_ScrollBarGroove);
    const QRect thumb = part(QStyle::SC_ScrollBarSlider);
    std::cout << "bar " << shown(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())) << ", track "
              << track.width() << " px, thumb " << thumb.width() << " px\n";
    EXPECT_LE(thumb.width(), track.width() / 4) << "the thumb fills the track";

    int16_t previous = 0;
    for (int pixels = 1; pixels <= 6; ++pixels) {
        panel->HScrollSpeed().SetValue(0);
        const QPoint from = part(QStyle::SC_ScrollBarSlider).center();
        // The hand comes to rest on the thumb before it takes it.
        pointer({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y())});
        ASSERT_TRUE(waitUntil([&] { return bar->underMouse(); }));
        pointer({QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
                 QString::number(from.x() + pixels), QString::number(from.y()),
                 QStringLiteral("mouseup"), QStringLiteral("1")});
        const int16_t value = valueAfter(0);
        std::cout << "dragged by " << pixels << " px: Speed " << value << "\n";
        EXPECT_GT(value, previous) << "a pixel more moved the value no further";
        EXPECT_LE(value - previous, 4) << "one pixel moved the value by more than 4";
        previous = value;
    }

    // Every value from 0 to 100, one click of the right arrow after the other.
    panel->HScrollSpeed().SetValue(0);
    const QPoint arrow = part(QStyle::SC_ScrollBarAddLine).center();
    std::set<int> seen{panel->HScrollSpeed().Value()};
    for (int click = 0; click < 100; ++click) {
        const int16_t before = panel->HScrollSpeed().Value();
        pointer({QStringLiteral("mousemove"), QString::number(arrow.x()), QString::number(arrow.y()),
                 QStringLiteral("click"), QStringLiteral("1")});
        seen.insert(valueAfter(before));
    }
    std::cout << "values reached by the right arrow: " << seen.size() << ", from "
              << *seen.begin() << " to " << *seen.rbegin() << "\n";
    EXPECT_EQ(seen.size(), 101u);
    EXPECT_EQ(*seen.rbegin(), 100);
}

} // namespace

// Fonts are substituted as the application does.
int main(int argc, char** argv) {
    return RunOnDisplay(argc, argv, [] { toolkit::InitApplication(); });
}
