#include "marquee/FormSQMain.h"
#include "marquee/CSQCtrl.h"

#include "ErrorOf.h"

#include "support/Overrides.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

struct Recorder : CSQCtrlEvents {
    std::vector<std::pair<char, int16_t>> seen;
    void MouseDown(int16_t& Button) override { seen.emplace_back('d', Button); }
    void MouseMove(int16_t& Button) override { seen.emplace_back('m', Button); }
    void MouseUp(int16_t& Button) override { seen.emplace_back('u', Button); }
};

void send(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held,
          QPoint at = {2, 2}) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

class FormSQMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        csqc = std::make_shared<CSQCtrl>();
        csqc->SetListener(&recorder);
        csqc->Show(owner);
        csqc->Scroll(false, QStringLiteral("The quick brown fox"));
        csqc->Form()->TextVorn(0).SetVisible(true);
        csqc->Form()->TextVorn(1).SetVisible(true);
    }
    void TearDown() override { csqc->Unload(); }
    FormSQMain& form() { return *csqc->Form(); }

    testsupport::ScopedYieldPeriod unpaced{std::chrono::nanoseconds::zero()};
    toolkit::Window owner;
    std::shared_ptr<CSQCtrl> csqc;
    Recorder recorder;
};

} // namespace

TEST_F(FormSQMainTest, heightSnapsBackToOneLinePlus20Twips) {
    const float line = form().TextVorn(0).Height();
    ASSERT_GT(line, 0);
    for (float tried : {5000.0f, 100.0f, 0.0f}) {
        form().SetHeight(tried);
        EXPECT_FLOAT_EQ(form().ScaleHeight(), line + 20) << "after trying " << tried;
        EXPECT_FLOAT_EQ(form().FrameVorn().Height(), line + 20);
        EXPECT_FLOAT_EQ(form().TextVorn(0).Top(), 10);
        EXPECT_FLOAT_EQ(form().TextVorn(1).Top(), 10);
    }
    // The width stays free and the frame follows it.
    form().SetWidth(9000);
    EXPECT_FLOAT_EQ(form().Width(), 9000);
    EXPECT_FLOAT_EQ(form().FrameVorn().Width(), form().ScaleWidth());
}

TEST_F(FormSQMainTest, layoutRunsOncePerPassAndStopsAfterTheSecond) {
    int passes = 0;
    const auto layout = form().OnResize;
    form().OnResize = [&] {
        ++passes;
        layout();
    };
    form().SetHeight(4000);
    EXPECT_EQ(passes, 2) << "the handler's own height change nests exactly one more pass";
    passes = 0;
    form().SetHeight(form().Height());
    EXPECT_EQ(passes, 0);
}

TEST_F(FormSQMainTest, narrowingBringsAWaitingLeadBackToTheNewEdge) {
    form().SetWidth(12000);
    auto& lead = form().TextVorn(0);
    lead.SetLeft(form().FrameVorn().Width()); // waiting at the right edge
    form().SetWidth(6000);
    EXPECT_FLOAT_EQ(lead.Left(), form().FrameVorn().Width());

    lead.SetLeft(1234.5f); // in view
    const float trailLeft = form().TextVorn(1).Left();
    form().SetWidth(5000);
    EXPECT_FLOAT_EQ(lead.Left(), 1234.5f);
    EXPECT_FLOAT_EQ(form().TextVorn(1).Left(), trailLeft) << "the trail is the loop's business";

    lead.SetLeft(-800); // partly gone on the left
    form().SetWidth(4000);
    EXPECT_FLOAT_EQ(lead.Left(), -800);
}

TEST_F(FormSQMainTest, everyPartOfTheStripGivesExactlyOneNotificationPerEvent) {
    std::vector<QWidget*> parts{form().ClientWidget(), form().FrameVorn().NativeWidget(),
                                form().TextVorn(0).NativeWidget(),
                                form().TextVorn(1).NativeWidget()};
    for (QWidget* w : parts) {
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
            recorder.seen.clear();
            send(w, QEvent::MouseButtonPress, b, b);
            send(w, QEvent::MouseMove, Qt::NoButton, b);
            send(w, QEvent::MouseButtonRelease, b, Qt::NoButton);
            // Notifications run from the event loop, after the widget's handler.
            EXPECT_TRUE(recorder.seen.empty());
            toolkit::DoEvents();
            const int16_t code = b == Qt::LeftButton ? 1 : 2;
            ASSERT_EQ(recorder.seen.size(), 3u) << w->metaObject()->className();
            EXPECT_EQ(recorder.seen[0], std::make_pair('d', code));
            EXPECT_EQ(recorder.seen[1], std::make_pair('m', code));
            EXPECT_EQ(recorder.seen[2], std::make_pair('u', code));
        }
    }
}

TEST_F(FormSQMainTest, aBoxIndexOutsideTheArrayIsSubscriptOutOfRange) {
    for (const int16_t index : {int16_t{-1}, int16_t{2}, int16_t{32767}})
        EXPECT_EQ(errorOf([&] { form().TextVorn(index); }), 9) << index;
}

TEST_F(FormSQMainTest, draggingTheRightBorderChangesOnlyTheWidth) {
    form().SetWidth(6000);
    const float height = form().Height();
    QWidget* top = form().NativeWidget();
    const QPoint edge(top->width() - 1, top->height() / 2);
    send(top, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, edge);
    send(top, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, edge + QPoint(40, 25));
    send(top, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, edge + QPoint(40, 25));
    toolkit::DoEvents();
    EXPECT_FLOAT_EQ(form().Width(), 6000 + 40 * 15);
    EXPECT_FLOAT_EQ(form().Height(), height);
    EXPECT_FLOAT_EQ(form().FrameVorn().Width(), form().ScaleWidth());
    EXPECT_TRUE(recorder.seen.empty()) << "the border belongs to the window, not the listener";

    // Dragging the bottom border tries a new height; the layout snaps it back.
    const QPoint bottom(top->width() / 2, top->height() - 1);
    send(top, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, bottom);
    send(top, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, bottom + QPoint(0, 60));
    send(top, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, bottom + QPoint(0, 60));
    toolkit::DoEvents();
    EXPECT_FLOAT_EQ(form().Height(), height);
}
