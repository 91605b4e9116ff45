#include "ErrorOf.h"
#include "support/Overrides.h"
#include "toolkit/CommandButton.h"
#include "toolkit/Events.h"
#include "toolkit/HScrollBar.h"
#include "toolkit/Label.h"
#include "toolkit/Menu.h"
#include "toolkit/Window.h"

#include <QAction>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

using namespace toolkit;

namespace {

void drain() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    (void)QTest::qWaitFor([] { return !Window::MapsPending(); }, 2000);
}

class Widgets : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_shared<Window>();
        window->Show();
    }
    void TearDown() override { window->Unload(); }
    std::vector<QString> reported;
    testsupport::ScopedYieldPeriod unpaced{std::chrono::nanoseconds::zero()};
    testsupport::ScopedErrorReporter reporter{[this](const QString& t) { reported.push_back(t); }};
    std::shared_ptr<Window> window;
    std::vector<QString> log;
};

} // namespace

TEST_F(Widgets, scrollBarCodeChangesNotifyInsideTheSetterAndOnlyWhenTheValueDiffers) {
    HScrollBar bar(*window);
    bar.SetMax(100);
    int changes = 0;
    bar.OnChange = [&] { ++changes; };
    bar.SetValue(37);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bar.Value(), 37);
    bar.SetValue(37);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(errorOf([&] { bar.SetValue(101); }), 380);
    EXPECT_EQ(errorOf([&] { bar.SetValue(-1); }), 380);
    EXPECT_EQ(bar.Value(), 37);
    EXPECT_EQ(errorOf([&] { bar.SetSmallChange(0); }), 380);
    // A bound moved past the value drags the value along, and says so.
    bar.SetMax(20);
    EXPECT_EQ(bar.Value(), 20);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(static_cast<QScrollBar*>(bar.NativeWidget())->value(), 20);
    // Min above Max: the bar runs the other way, values still between the bounds.
    bar.SetMin(30);
    EXPECT_EQ(bar.Value(), 20);
    bar.SetValue(30);
    EXPECT_EQ(bar.Value(), 30);
    EXPECT_EQ(errorOf([&] { bar.SetValue(31); }), 380);
}

TEST_F(Widgets, scrollBarUserMovesAreQueuedAndAThumbDragReportsOnlyItsEnd) {
    HScrollBar bar(*window);
    bar.SetMax(100);
    bar.SetLargeChange(10);
    std::vector<int16_t> seen;
    bar.OnChange = [&] { seen.push_back(bar.Value()); };
    auto* qt = static_cast<QScrollBar*>(bar.NativeWidget());

    qt->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_TRUE(seen.empty()) << "ran inside the widget's own handling";
    EXPECT_EQ(bar.Value(), 1);
    drain();
    EXPECT_EQ(seen, std::vector<int16_t>{1});

    qt->triggerAction(QAbstractSlider::SliderPageStepAdd);
    drain();
    EXPECT_EQ(seen.back(), 11);

    qt->setSliderDown(true);
    qt->setSliderPosition(50);
    qt->setSliderPosition(60);
    drain();
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(bar.Value(), 11);
    qt->setSliderDown(false);
    drain();
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen.back(), 60);

    // A drag that ends where it began changes nothing.
    qt->setSliderDown(true);
    qt->setSliderPosition(70);
    qt->setSliderPosition(60);
    qt->setSliderDown(false);
    drain();
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(Widgets, scrollBarWithTheKeyboardShowsAMark) {
    HScrollBar bar(*window);
    bar.Move(0, 0, 900, 300);
    bar.SetMax(100);
    bar.SetValue(40);
    QWidget* qt = bar.NativeWidget();
    drain(); // the window is mapped from the event loop
    window->NativeWidget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->NativeWidget(), 2000));
    // The mark is drawn in the text colour: dark dots the bar has nowhere else.
    auto darkPixels = [qt] {
        const QImage image = qt->grab().toImage();
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                dark += image.pixelColor(x, y).lightness() < 60 ? 1 : 0;
        }
        return dark;
    };
    qt->clearFocus();
    const int without = darkPixels();
    qt->setFocus();
    ASSERT_TRUE(qt->hasFocus());
    EXPECT_GE(darkPixels(), without + 10);
}

TEST_F(Widgets, menuChoicesAreQueuedAndLeaveTheCheckMarkToTheHandler) {
    MenuItem file(*window, QStringLiteral("File(&F)"));
    MenuItem open(file, QStringLiteral("Open(&O)"));
    MenuItem line(file, QStringLiteral("-"));
    MenuItem quit(file, QStringLiteral("Quit(&Q)"));
    int clicks = 0;
    open.OnClick = [&] { ++clicks; };
    EXPECT_EQ(window->MenuBar()->actions().size(), 1);
    EXPECT_EQ(file.NativeMenu()->title(), QStringLiteral("File(&F)"));
    EXPECT_EQ(file.NativeMenu()->actions().size(), 3);
    EXPECT_TRUE(line.IsSeparator());
    EXPECT_TRUE(line.NativeAction()->isSeparator());
    EXPECT_TRUE(line.NativeAction()->text().isEmpty());

    open.NativeAction()->trigger();
    EXPECT_EQ(clicks, 0);
    drain();
    EXPECT_EQ(clicks, 1);

    // Choosing a checked item leaves it checked until its handler says otherwise.
    open.SetChecked(true);
    open.OnClick = [&] { open.SetChecked(!open.Checked()); };
    open.NativeAction()->trigger();
    EXPECT_TRUE(open.NativeAction()->isChecked());
    drain();
    EXPECT_FALSE(open.Checked());
    EXPECT_FALSE(open.NativeAction()->isChecked());

    open.SetEnabled(false);
    open.OnClick = [&] { ++clicks; };
    open.NativeAction()->trigger();
    drain();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(open.NativeAction()->isEnabled());

    EXPECT_EQ(errorOf([&] { MenuItem nested(open, QStringLiteral("x")); }), 5);
}

TEST_F(Widgets, menuBarTakesItsHeightFromTheInnerArea) {
    window->SetClientSize(3000, 2000);
    EXPECT_FLOAT_EQ(window->ScaleHeight(), 2000);
    const float before = window->Height();
    MenuItem file(*window, QStringLiteral("File(&F)"));
    const float bar = window->Height() - window->ScaleHeight() - (before - 2000);
    EXPECT_GT(bar, 0);
    window->SetClientSize(3000, 2000);
    EXPECT_FLOAT_EQ(window->ScaleHeight(), 2000);
    EXPECT_FLOAT_EQ(window->Height(), before + bar);
}

TEST_F(Widgets, buttonReportsDownUpThenClickWithTheButtonUsed) {
    CommandButton button(*window);
    button.Move(0, 0, 600, 300);
    button.SetCaption(QStringLiteral("l>l>"));
    button.OnMouseDown = [&](int16_t& b, int16_t&, float&, float&) {
        log.push_back(QStringLiteral("down %1").arg(b));
    };
    button.OnMouseUp = [&](int16_t& b, int16_t&, float&, float&) {
        log.push_back(QStringLiteral("up %1").arg(b));
    };
    button.OnClick = [&] { log.push_back(QStringLiteral("click")); };
    QWidget* w = button.NativeWidget();
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(log.empty());
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(5, 5));
    drain();
    QTest::mousePress(w, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mouseRelease(w, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    drain();
    EXPECT_EQ(log, (std::vector<QString>{QStringLiteral("down 1"), QStringLiteral("up 1"),
                                         QStringLiteral("click"), QStringLiteral("down 2"),
                                         QStringLiteral("up 2")}));
    EXPECT_EQ(static_cast<QPushButton*>(w)->text(), QStringLiteral("l>l>"));
}

TEST_F(Widgets, labelShowsItsCaptionWithoutAccessKeyMarks) {
    Label label(*window);
    label.SetCaption(QStringLiteral("Speed"));
    EXPECT_EQ(static_cast<QLabel*>(label.NativeWidget())->text(), QStringLiteral("Speed"));
    label.SetCaption(QStringLiteral("&Save && go"));
    EXPECT_EQ(label.Caption(), QStringLiteral("&Save && go"));
    EXPECT_EQ(static_cast<QLabel*>(label.NativeWidget())->text(), QStringLiteral("Save & go"));
    EXPECT_EQ(label.NativeWidget()->focusPolicy(), Qt::NoFocus);
    // Too narrow for its text: the text still shows whole, Width stays as set.
    label.Move(0, 0, 15, 180);
    EXPECT_EQ(label.Width(), 15.0f);
    EXPECT_GE(
        label.NativeWidget()->width(),
        QFontMetrics(label.NativeWidget()->font()).horizontalAdvance(QStringLiteral("Save & go")));
}

TEST_F(Widgets, closeQuestionCanCancelAndOnlyOneIsOpenAtATime) {
    std::vector<int16_t> modes;
    int unloads = 0;
    window->OnUnload = [&] { ++unloads; };
    int16_t answer = 1;
    window->OnQueryUnload = [&](int16_t& cancel, int16_t mode) {
        modes.push_back(mode);
        // A second request while this question is open must not ask again.
        window->Unload();
        QWidget* native = window->NativeWidget();
        native->close();
        drain();
        cancel = answer;
    };
    window->Unload();
    EXPECT_TRUE(window->Loaded());
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(modes, std::vector<int16_t>{vbFormCode});
    window->NativeWidget()->close();
    drain();
    EXPECT_EQ(modes, (std::vector<int16_t>{vbFormCode, vbFormControlMenu}));
    EXPECT_EQ(unloads, 0);
    answer = 0;
    window->Unload();
    EXPECT_FALSE(window->Loaded());
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(unloads, 1);

    window->Show();
    modes.clear();
    window->UnloadWithoutQuery();
    EXPECT_TRUE(modes.empty());
    EXPECT_EQ(unloads, 2);
}
