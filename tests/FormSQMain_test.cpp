#include "marquee/FormSQMain.h"
#include "marquee/CSQCtrl.h"

#include "ErrorOf.h"

#include "toolkit/Events.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
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
        toolkit::SetYieldPeriod(std::chrono::nanoseconds::zero());
        csqc = std::make_shared<CSQCtrl>();
        csqc->SetListener(&recorder);
        csqc->Show(owner);
        csqc->Scroll(false, QStringLiteral("The quick brown fox"));
        csqc->Form()->TextVorn(0).SetVisible(true);
        csqc->Form()->TextVorn(1).SetVisible(true);
    }
    void TearDown() override { csqc->Unload(); }
    FormSQMain& form() { return *csqc->Form(); }

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
    // The lead on pixels 40 to 107, the trail glued to its end.
    form().TextVorn(0).Move(600, 150, 1007, 225);
    form().TextVorn(1).Move(1607, 150, 900, 225);
    // Each press is the part's under it, which passes it on to the window.
    std::vector<char> heard;
    const auto tap = [&heard](toolkit::MouseHandler& handler, char part) {
        handler = [&heard, part, next = handler](int16_t& b, int16_t& s, float& x, float& y) {
            heard.push_back(part);
            next(b, s, x, y);
        };
    };
    tap(form().FrameVorn().OnMouseDown, 'f');
    tap(form().TextVorn(0).OnMouseDown, '0');
    tap(form().TextVorn(1).OnMouseDown, '1');
    QWidget* view = form().FrameVorn().NativeWidget();
    const struct {
        QWidget* widget;
        QPoint at;
        char part;
    } parts[] = {{form().ClientWidget(), {2, 2}, 0},
                 {view, {5, 5}, 'f'},
                 {view, {45, 15}, '0'},
                 {view, {110, 15}, '1'}};
    for (const auto& part : parts) {
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
            recorder.seen.clear();
            heard.clear();
            send(part.widget, QEvent::MouseButtonPress, b, b, part.at);
            send(part.widget, QEvent::MouseMove, Qt::NoButton, b, part.at);
            send(part.widget, QEvent::MouseButtonRelease, b, Qt::NoButton, part.at);
            // Notifications run from the event loop, after the widget's handler.
            EXPECT_TRUE(recorder.seen.empty());
            toolkit::DoEvents();
            const int16_t code = b == Qt::LeftButton ? 1 : 2;
            ASSERT_EQ(recorder.seen.size(), 3u) << part.part;
            EXPECT_EQ(recorder.seen[0], std::make_pair('d', code));
            EXPECT_EQ(recorder.seen[1], std::make_pair('m', code));
            EXPECT_EQ(recorder.seen[2], std::make_pair('u', code));
            EXPECT_EQ(heard, part.part ? std::vector<char>{part.part} : std::vector<char>{});
        }
    }
    // A hidden box takes no press.
    form().TextVorn(1).SetVisible(false);
    heard.clear();
    send(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {110, 15});
    toolkit::DoEvents();
    EXPECT_EQ(heard, std::vector<char>{'f'});
}

namespace {

// The strip as the loop leaves it after a step: the lead at a place, the
// trail glued to its end.
QImage stepTo(FormSQMain& form, float left) {
    form.TextVorn(0).Move(left, 150, 1007, 225);
    form.TextVorn(1).Move(left + 1007, 150, 900, 225);
    form.FrameVorn().Present();
    return form.FrameVorn().NativeWidget()->grab().toImage();
}

bool shiftedLeftByOnePixel(const QImage& before, const QImage& after) {
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x + 1 < before.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x + 1, y))
                return false;
    return true;
}

// Counts the pixels the view is asked to paint.
struct PaintedArea : QObject {
    long pixels = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                pixels += long{r.width()} * r.height();
        return false;
    }
};

} // namespace

TEST_F(FormSQMainTest, theTwoBoxesMoveAsOneLineAndAOneTwipStepChangesNoPixel) {
    form().SetWidth(3000);
    form().TextVorn(0).SetText(QStringLiteral("Wide Mmm"));
    form().TextVorn(1).SetText(QStringLiteral("Wxyz"));
    const QImage start = stepTo(form(), 600); // lead on pixel 40, trail at 107.13
    ASSERT_FALSE(start.isNull());
    EXPECT_EQ(stepTo(form(), 599), start) << "one twip moves no pixel";
    EXPECT_EQ(stepTo(form(), 593), start);
    // At 592 the lead's own edge rounds to pixel 39 while the trail's own
    // edge (1599 twips) still rounds to 107: drawn box by box, the seam
    // would open. Drawn as one line, everything moves by one pixel.
    const QImage moved = stepTo(form(), 592);
    EXPECT_TRUE(shiftedLeftByOnePixel(start, moved));
    EXPECT_FLOAT_EQ(form().TextVorn(1).Left(), 1599) << "the twips stay exact";

    form().TextVorn(1).SetVisible(false);
    EXPECT_NE(form().FrameVorn().NativeWidget()->grab().toImage(), moved);
    form().TextVorn(1).SetVisible(true);
    EXPECT_EQ(form().FrameVorn().NativeWidget()->grab().toImage(), moved);
}

TEST_F(FormSQMainTest, aStepPaintsOnlyWhatItUncovers) {
    form().SetWidth(6000);
    QWidget* view = form().FrameVorn().NativeWidget();
    PaintedArea painted;
    view->installEventFilter(&painted);
    const auto paintedAfter = [&](float left) {
        stepTo(form(), left);
        painted.pixels = 0;
        QApplication::processEvents();
        return painted.pixels;
    };
    paintedAfter(600);
    EXPECT_EQ(paintedAfter(599), 0) << "no pixel changed, nothing is painted";
    const long column = paintedAfter(592);
    EXPECT_GT(column, 0);
    EXPECT_LE(column, 2L * view->height()) << "a one-pixel shift repaints about a column";
    form().TextVorn(0).SetText(QStringLiteral("new"));
    EXPECT_GE(paintedAfter(592), long{view->width()} * view->height()) << "new text, new picture";
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
