#include "XProbe.h"
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "toolkit/Focus.h"
#include "toolkit/Lifecycle.h"
#include "toolkit/Startup.h"
#include "toolkit/WindowSystem.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <set>

// The Speed bar of the expanded panel on a real X server with openbox, moved with the
// pointer as a user moves it (xdotool): a drag of the thumb by a few pixels, the arrows
// clicked through the whole range, and the keyboard focus mark as the screen shows it.

namespace {

using namespace xprobe;

QString shotPath(QTemporaryDir& dir, const char* name) {
    const QString folder = qEnvironmentVariable("VORN_SCREENSHOT_DIR");
    return folder.isEmpty() ? dir.filePath(QLatin1String(name))
                            : QDir(folder).filePath(QLatin1String(name));
}

QImage grab(const QRect& r, const QString& file) {
    run(QStringLiteral("import"),
        {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
         QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()),
         QStringLiteral("+repage"), file});
    return QImage(file);
}

// The screen once two grabs in a row agree: what the last changes painted.
QImage settled(const QRect& r, const QString& file) {
    QImage last;
    QImage now;
    waitUntil([&] {
        last = now;
        now = grab(r, file);
        return !now.isNull() && now == last;
    });
    return now;
}

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
        panel->mnuOptionPanel_Click(); // expanded: the Speed Control frame shows
        bar = static_cast<QScrollBar*>(panel->HScrollSpeed().NativeWidget());
        ASSERT_TRUE(waitUntil([&] { return bar->isVisible() && !bar->visibleRegion().isEmpty(); }));
        // Let the window manager's placement settle before reading places on the screen.
        QRect last;
        ASSERT_TRUE(waitUntil([&] {
            const QRect now(bar->mapToGlobal(QPoint(0, 0)), bar->size());
            const bool same = now == last;
            last = now;
            return same && onScreen(toolkit::NativeWindowId(panel->hwnd())).contains(now.center());
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

TEST_F(SpeedBarOnX, theThumbIsSmallAndADragFollowsTheHandInStepsOfFourAtMost) {
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
}

TEST_F(SpeedBarOnX, theRightArrowReachesEveryValueAndTheFocusedBarShowsAMark) {
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

    // The same bar without and with the keyboard: the mark is what differs.
    QTemporaryDir dir;
    QWidget* frame = panel->Frame1().NativeWidget();
    const QRect area(frame->mapToGlobal(QPoint(0, 0)), frame->size());
    const QRect barRect = QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size()).translated(-area.topLeft());
    panel->HScrollSpeed().SetValue(40);
    toolkit::SetFocusTo(panel->TextSpeed());
    ASSERT_TRUE(waitUntil([&] { return !bar->hasFocus(); }));
    const QImage without = settled(area, shotPath(dir, "bars.png"));
    toolkit::SetFocusTo(panel->HScrollSpeed());
    ASSERT_TRUE(waitUntil([&] { return bar->hasFocus(); }));
    const QImage with = settled(area, shotPath(dir, "bars-focused.png"));
    ASSERT_FALSE(with.isNull());
    EXPECT_NE(with.copy(barRect), without.copy(barRect)) << "the focused bar shows no mark";
}

} // namespace

// The real display, no offscreen default; without a server the suite still starts, to
// report the skip. Fonts are substituted as the application does.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!unavailableReason().isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    toolkit::InitApplication();
    return RUN_ALL_TESTS();
}
