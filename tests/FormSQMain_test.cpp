#include "ScrollHarness.h"

#include "ErrorOf.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>
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

// The strip shown, stopped, with both boxes made visible by hand.
class FormSQMainTest : public ScrollHarness {
protected:
    void SetUp() override {
        ScrollHarness::SetUp();
        csqc->SetListener(&recorder);
        csqc->Scroll(false, QStringLiteral("The quick brown fox"));
        lead().SetVisible(true);
        trail().SetVisible(true);
    }
    // Where the loop leaves the boxes after a step: the lead at a place, the
    // trail glued to its end; the lead covers pixels 40 to 107 from 600.
    void stepTo(float left) {
        lead().Move(left, 150, 1007, 225);
        trail().Move(left + 1007, 150, 900, 225);
        form().FrameVorn().Present();
    }
    QImage picture() { return form().FrameVorn().NativeWidget()->grab().toImage(); }
    Recorder recorder;
};

} // namespace

TEST_F(FormSQMainTest, heightSnapsBackToOneLinePlus20TwipsInTwoPassesOfTheLayout) {
    const float line = lead().Height();
    ASSERT_GT(line, 0);
    int passes = 0;
    const auto layout = form().OnResize;
    form().OnResize = [&] {
        ++passes;
        layout();
    };
    for (float tried : {5000.0f, 100.0f, 0.0f}) {
        passes = 0;
        form().SetHeight(tried);
        if (tried > 0) { // from 0 the client area, never negative, takes one pass more
            EXPECT_EQ(passes, 2) << "the handler's own height change nests exactly one more pass";
        }
        EXPECT_FLOAT_EQ(form().ScaleHeight(), line + 20) << "after trying " << tried;
        EXPECT_FLOAT_EQ(form().FrameVorn().Height(), line + 20);
        EXPECT_FLOAT_EQ(lead().Top(), 10);
        EXPECT_FLOAT_EQ(trail().Top(), 10);
    }
    passes = 0;
    form().SetHeight(form().Height());
    EXPECT_EQ(passes, 0);
    // The width stays free and the frame follows it.
    form().SetWidth(9000);
    EXPECT_FLOAT_EQ(form().Width(), 9000);
    EXPECT_FLOAT_EQ(form().FrameVorn().Width(), form().ScaleWidth());
    for (const int16_t index : {int16_t{-1}, int16_t{2}, int16_t{32767}})
        EXPECT_EQ(errorOf([&] { form().TextVorn(index); }), 9) << "no box " << index;
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
    stepTo(600);
    // Each press is the part's under it, which passes it on to the window.
    std::vector<char> heard;
    for (auto [handler, part] : {std::pair{&form().FrameVorn().OnMouseDown, 'f'},
                                 std::pair{&lead().OnMouseDown, '0'},
                                 std::pair{&trail().OnMouseDown, '1'}})
        *handler = [&heard, part, next = *handler](int16_t& b, int16_t& s, float& x, float& y) {
            heard.push_back(part);
            next(b, s, x, y);
        };
    QWidget* view = form().FrameVorn().NativeWidget();
    const std::tuple<QWidget*, QPoint, std::vector<char>> parts[] = {
        {form().ClientWidget(), {2, 2}, {}},
        {view, {5, 5}, {'f'}},
        {view, {45, 15}, {'0'}},
        {view, {110, 15}, {'1'}}};
    for (const auto& [widget, at, part] : parts) {
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
            recorder.seen.clear();
            heard.clear();
            send(widget, QEvent::MouseButtonPress, b, b, at);
            send(widget, QEvent::MouseMove, Qt::NoButton, b, at);
            send(widget, QEvent::MouseButtonRelease, b, Qt::NoButton, at);
            // Notifications run from the event loop, after the widget's handler.
            EXPECT_TRUE(recorder.seen.empty());
            toolkit::DoEvents();
            const int16_t code = b == Qt::LeftButton ? 1 : 2;
            EXPECT_EQ(recorder.seen, (std::vector<std::pair<char, int16_t>>{
                                         {'d', code}, {'m', code}, {'u', code}}));
            EXPECT_EQ(heard, part);
        }
    }
}

TEST_F(FormSQMainTest, theBoxesMoveAsOneLineAndAStepPaintsOnlyWhatItUncovers) {
    form().SetWidth(6000);
    lead().SetText(QStringLiteral("Wide Mmm"));
    trail().SetText(QStringLiteral("Wxyz"));
    QWidget* view = form().FrameVorn().NativeWidget();
    PaintCounter painted(view);
    const auto paintedAfter = [&](float left) {
        stepTo(left);
        painted.pixels = 0;
        QApplication::processEvents();
        return painted.pixels;
    };
    paintedAfter(600); // the lead on pixel 40, the trail at 107.13
    const QImage start = picture();
    EXPECT_EQ(paintedAfter(593), 0) << "a few twips move no pixel, nothing is painted";
    EXPECT_EQ(picture(), start);
    // At 592 the lead's own edge rounds to pixel 39 while the trail's own
    // edge (1599 twips) still rounds to 107: drawn box by box, the seam
    // would open. Drawn as one line, everything moves by one pixel, and
    // only about the column it uncovers is painted.
    EXPECT_LE(paintedAfter(592), 2L * view->height()) << "about the column it uncovers";
    const QImage moved = picture();
    EXPECT_EQ(moved.copy(0, 0, moved.width() - 1, moved.height()),
              start.copy(1, 0, start.width() - 1, start.height()));

    trail().SetVisible(false);
    EXPECT_NE(picture(), moved);
    trail().SetVisible(true);
    EXPECT_GE(paintedAfter(592), long{view->width()} * view->height()) << "a box shown again";
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
