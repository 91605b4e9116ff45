#include "ErrorOf.h"
#include "WindowFixture.h"
#include "marquee/CSQCtrl.h"
#include "toolkit/Colors.h"
#include "toolkit/Events.h"
#include "toolkit/StdFont.h"

#include <QImage>
#include <QPaintEvent>
#include <QWidget>

#include <tuple>

// The strip: its window (FormSQMain) and the controller that cuts the text and runs the scroll.

namespace {

// Counts the paints of a widget and the pixels they cover.
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(e)->region())
                pixels += long{r.width()} * r.height();
        }
        return false;
    }
    int paints = 0;
    long pixels = 0;
};

// A controller shown on an owner window, with unpaced yields, watched.
class CSQCtrlTest : public Unpaced, protected YieldWatch {
protected:
    CSQCtrlTest() : YieldWatch([this] { csqc->Scroll(false, QString()); }) { limit = 200000; }
    void SetUp() override {
        csqc = std::make_shared<CSQCtrl>();
        csqc->Show(owner);
        drain(); // the map the show queues, and the platform's reports of it
    }

    void TearDown() override {
        onYield = nullptr;
        csqc->Unload();
    }

    FormSQMain& form() { return *csqc->Form(); }
    StripText& lead() { return form().TextVorn(0); }
    StripText& trail() { return form().TextVorn(1); }
    // Where a text waits before it comes on.
    float right() { return form().FrameVorn().Width(); }

    toolkit::Window owner;
    std::shared_ptr<CSQCtrl> csqc;
};

// A text whose segments can be told apart: segment k is made of letter 'a' + k.
QString lettered(int segments, int lastLength) {
    QString text;
    for (int k = 0; k < segments; ++k)
        text += QString(k + 1 < segments ? 200 : lastLength, QChar(u'a' + k));
    return text;
}

} // namespace

TEST_F(CSQCtrlTest, cutsIntoPiecesOfAtMost200UnitsAndMeasuresEachInItsBoxsFont) {
    // In the last case a surrogate pair straddles the first cut.
    const QString pair = QString::fromUtf16(u"\U0001F600");
    const QString a(200, u'a'), b(200, u'b');
    const QStringList cases[] = {{a, b, QString(50, u'c')},
                                 {a},
                                 {a, QStringLiteral("b")},
                                 {QStringLiteral("a")},
                                 {QString(199, u'a') + pair.front(), pair.back() + u'b'}};
    for (const QStringList& segments : cases) {
        csqc->Scroll(false, segments.join(QString()));
        EXPECT_EQ(csqc->Segments(), segments);
    }

    // Each box is measured in its own font, not the window's: all four attributes differ.
    const toolkit::StdFont windowFont{.Name = QStringLiteral("DejaVu Serif"), .Size = 8};
    const toolkit::StdFont boxFont{
        .Name = QStringLiteral("DejaVu Sans"), .Size = 21.5f, .Bold = true, .Italic = true};
    form().SetFont(windowFont);
    lead().SetFont(boxFont);
    trail().SetFont(boxFont);
    csqc->Scroll(false, lettered(2, 30)); // loads and measures both boxes
    EXPECT_FLOAT_EQ(lead().Width(), toolkit::MeasureTextWidth(boxFont, lead().Text()));
    EXPECT_FLOAT_EQ(trail().Height(), toolkit::MeasureTextHeight(boxFont, trail().Text()));
}

TEST_F(CSQCtrlTest, handsSegmentsOverInOrderWrapsToTheRightEdgeAndAStopTakesTheTextBack) {
    csqc->SetSpeed(97);
    const PaintCounter painted(form().FrameVorn().NativeWidget());
    int paintsAtFirstStep = 0;
    onYield = [&] {
        if (yields == 1) {
            // An ordinary step: the lead moves by Speed, the trail sits at its right end.
            EXPECT_EQ(std::tuple(lead().Left(), trail().Left()),
                      std::tuple(right() - 97, right() - 97 + lead().Width()));
            paintsAtFirstStep = painted.paints;
            return;
        }
        if (yields == 2) {
            EXPECT_GT(painted.paints, paintsAtFirstStep) << "a step reaches the screen";
        } else if (yields == 3) {
            // The trail keeps its old place, just left of 0, until the next step.
            EXPECT_EQ(
                std::tuple(csqc->SegmentIndex(), lead().Left(), trail().Left(), trail().Text()),
                std::tuple(1, 0.0f, -1.0f, QString(7, u'c')));
        } else if (yields == 4) {
            EXPECT_EQ(std::tuple(csqc->SegmentIndex(), trail().Text()), std::tuple(2, QString()));
        } else if (yields == 5) {
            // The whole text has passed: both boxes go back to the right edge.
            EXPECT_EQ(
                std::tuple(csqc->SegmentIndex(), lead().Left(), trail().Left(), trail().Text()),
                std::tuple(0, right(), right(), QString(200, u'b')));
        } else {
            ASSERT_EQ(csqc->SegmentIndex(), 1);
            csqc->Scroll(false, QString()); // in the middle of the text
            return;
        }
        lead().SetLeft(96 - lead().Width()); // the next step takes it 1 past the left edge
    };
    csqc->Scroll(true, lettered(3, 7));

    // The stop takes the text back, hidden, to its first segment at the right edge.
    EXPECT_EQ(std::tuple(yields, csqc->Runs(), csqc->Fuel(), csqc->SegmentIndex(), lead().Visible(),
                         trail().Visible()),
              std::tuple(6, 0, false, 0, false, false));
    EXPECT_EQ(std::tuple(lead().Left(), trail().Left(), lead().Text(), trail().Text()),
              std::tuple(right(), right(), QString(200, u'a'), QString(200, u'b')));
}

TEST_F(CSQCtrlTest, theHandOverWaitsUntilTheLeadHasPassedTheEdgeNotWhileItStandsOnIt) {
    csqc->Scroll(false, lettered(2, 30));
    csqc->SetSpeed(7);
    onYield = [&] {
        if (yields == 1) {
            lead().SetWidth(3000); // whole twips, so the edge is met exactly
            lead().SetLeft(14 - 3000); // two steps on, the right end stands on the edge
        } else if (yields == 4) {
            EXPECT_EQ(std::tuple(csqc->SegmentIndex(), lead().Text(), lead().Left()),
                      std::tuple(1, QString(30, u'b'), 0.0f));
            csqc->Scroll(false, QString());
        }
    };
    csqc->Scroll(true, QString());
    EXPECT_EQ(yields, 4);
}

TEST_F(CSQCtrlTest, withoutTextTheLoopRunsAndWrapsAtTheLeftEdge) {
    csqc->SetSpeed(500);
    int wraps = 0;
    float last = right();
    onYield = [&] {
        EXPECT_EQ(std::tuple(csqc->Fuel(), lead().Text(), lead().Width()), std::tuple(true, QString(), 0.0f));
        if (lead().Left() > last)
            ++wraps;
        last = lead().Left();
        if (wraps == 3)
            csqc->Scroll(false, QString());
    };
    csqc->Scroll(true, QString());
    EXPECT_EQ(std::tuple(wraps, csqc->SegmentIndex(), reported.size()), std::tuple(3, 0, 0u));
}

TEST_F(CSQCtrlTest, aStartAtTheNestingBoundResetsButEntersNoNewRun) {
    csqc->Scroll(false, lettered(3, 5));
    csqc->SetSpeed(13);
    // Each run nests one more from its first yield, up to the bound.
    onYield = [&] {
        if (yields < CSQCtrl::kMaxRuns) {
            csqc->Scroll(true, QString());
        } else if (yields == CSQCtrl::kMaxRuns) {
            csqc->Scroll(true, QString()); // returns at once
            EXPECT_EQ(std::tuple(csqc->Runs(), csqc->Fuel(), csqc->SegmentIndex(), lead().Left()),
                      std::tuple(CSQCtrl::kMaxRuns, true, 0, right()));
        } else {
            // The innermost run carried on from the reset state.
            EXPECT_FLOAT_EQ(lead().Left(), right() - 13);
            csqc->Scroll(false, QString());
        }
    };
    csqc->Scroll(true, QString());
    EXPECT_EQ(std::tuple(yields, csqc->Runs(), csqc->Fuel()),
              std::tuple(CSQCtrl::kMaxRuns + 1, 0, false));
}

TEST_F(CSQCtrlTest, unloadInsideAYieldEndsEveryRunWithoutTouchingTheWindowAgain) {
    csqc->Scroll(false, lettered(2, 40));
    csqc->SetTiming(3); // the suspended step still has yields to make after the unload
    std::tuple<float, float, QString> atUnload;
    bool fuelWhenUnloaded = true;
    form().OnUnload = [&] { fuelWhenUnloaded = csqc->Fuel(); }; // the window's own unload
    onYield = [&] {
        if (yields == 6) {
            csqc->Scroll(true, QString()); // a nested run, suspended below the unload
        } else if (yields == 21) {
            csqc->Unload();
            atUnload = {lead().Left(), trail().Left(), lead().Text()};
        }
    };
    csqc->Scroll(true, QString());
    form().OnUnload = nullptr;
    EXPECT_FALSE(fuelWhenUnloaded) << "the scroll stops before the window is unloaded";
    EXPECT_EQ(std::tuple(form().Loaded(), form().Visible(), lead().Visible(), csqc->Fuel(), csqc->Runs()),
              std::tuple(false, false, false, false, 0));
    EXPECT_EQ(std::tuple(lead().Left(), trail().Left(), lead().Text()), atUnload);
}

// One run with a timing: a refresh in it, then a new text taken in nested.
TEST_F(CSQCtrlTest, refreshDuringTheScrollTimingAndANewTextNested) {
    csqc->Scroll(false, lettered(2, 40));
    csqc->SetTiming(4);
    const float heightBefore = lead().Height();
    onYield = [&] {
        if (yields == 40) {
            form().SetFontSize(24);
            form().SetBackColor(toolkit::RGB(0, 0, 128));
            form().SetForeColor(toolkit::RGB(255, 255, 0));
            csqc->Refresh();
            // Both boxes are measured again in the new font, before any hand-over (8 steps of 1
            // twip into a segment of 200 letters).
            EXPECT_GT(lead().Height(), heightBefore * 2);
            EXPECT_FLOAT_EQ(trail().Height(), lead().Height());
        } else if (yields == 50) {
            // 50 yields were 10 steps of 5, and the refresh took nothing back.
            EXPECT_FLOAT_EQ(lead().Left(), right() - 10);
            csqc->SetTiming(0);
            csqc->SetSpeed(300);
            csqc->Scroll(true, lettered(1, 9)); // nested load, as a File command does
        } else if (yields == 51) {
            EXPECT_EQ(std::tuple(csqc->SegmentCount(), lead().Text(), trail().Text(), lead().Left()),
                      std::tuple(1, QString(9, u'a'), QString(), right() - 300));
            csqc->Scroll(false, QString());
        }
    };
    csqc->Scroll(true, QString());
    EXPECT_EQ(std::tuple(yields, csqc->Runs()), std::tuple(51, 0));
    // The boxes' own colours and fonts show in the panel's tests; the frame's only here.
    const toolkit::Control& frame = form().FrameVorn();
    EXPECT_EQ(std::tuple(frame.BackColor(), frame.ForeColor(), frame.FontSize()),
              std::tuple(toolkit::RGB(0, 0, 128), toolkit::RGB(255, 255, 0), 24.0f));
    // One line and 20 twips high, whatever height was tried.
    form().SetHeight(5000);
    EXPECT_EQ(std::tuple(form().ScaleHeight(), form().FrameVorn().Height(), lead().Top(), trail().Top()),
              std::tuple(lead().Height() + 20, lead().Height() + 20, 10.0f, 10.0f));
}

// Stopped without segments at speed 1, timing 0: the panel's start test.
TEST(CSQCtrlProperties, constructionLeavesTheStripEmptyAndHidden) {
    CSQCtrl c;
    FormSQMain& f = *c.Form();
    EXPECT_EQ(std::tuple(f.TextVorn(1).Text(), f.TextVorn(0).Visible(), f.Visible(),
                         f.TextVorn(0).Left()),
              std::tuple(QString(), false, false, f.FrameVorn().Width()));
    // There are two boxes.
    for (const int16_t index : {int16_t{-1}, int16_t{2}, int16_t{32767}})
        EXPECT_EQ(errorOf([&] { f.TextVorn(index); }), 9) << "no box " << index;
    // Speed and timing store absolute values and refuse -32768.
    c.SetSpeed(-5);
    c.SetTiming(-1);
    EXPECT_EQ(std::tuple(c.Speed(), c.Timing()), std::tuple(5, 1));
    c.SetSpeed(32767);
    EXPECT_EQ(errorOf([&] { c.SetSpeed(-32768); }), 6);
    EXPECT_EQ(errorOf([&] { c.SetTiming(-32768); }), 6);
    EXPECT_EQ(std::tuple(c.Speed(), c.Timing()), std::tuple(32767, 1));
}

namespace {

struct Recorder : CSQCtrlEvents {
    std::vector<std::pair<char, int16_t>> seen;
    void MouseDown(int16_t& Button) override { seen.emplace_back('d', Button); }
    void MouseMove(int16_t& Button) override { seen.emplace_back('m', Button); }
    void MouseUp(int16_t& Button) override { seen.emplace_back('u', Button); }
};

// The strip shown, stopped, with both boxes made visible by hand.
class FormSQMainTest : public CSQCtrlTest {
protected:
    void SetUp() override {
        CSQCtrlTest::SetUp();
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

// The height it snaps back to, even one the bottom border tries:
// CSQCtrlTest.refreshDuringTheScrollTimingAndANewTextNested
TEST_F(FormSQMainTest, narrowingBringsAWaitingLeadBackAndTheBorderChangesOnlyTheWidth) {
    form().SetWidth(12000);
    const float waiting = right();
    const float trailLeft = trail().Left();
    // Waiting at the right edge, in view, partly gone on the left.
    for (const auto& [left, width] : {std::pair(waiting, 6000.0f), {1234.5f, 5000.0f}, {-800.0f, 4500.0f}}) {
        lead().SetLeft(left);
        form().SetWidth(width);
        EXPECT_FLOAT_EQ(lead().Left(), left == waiting ? right() : left) << left;
    }
    EXPECT_FLOAT_EQ(trail().Left(), trailLeft) << "the trail is the loop's business";

    // Dragging the right border out.
    const float height = form().Height();
    QWidget* top = form().NativeWidget();
    const QPoint edge(top->width() - 1, top->height() / 2);
    pressMoveRelease(top, Qt::LeftButton, edge, edge + QPoint(40, 25));
    toolkit::DoEvents();
    EXPECT_EQ(std::tuple(form().Width(), form().Height(), form().FrameVorn().Width()),
              std::tuple(4500.0f + 40 * 15, height, form().ScaleWidth()));
    EXPECT_TRUE(recorder.seen.empty()) << "the border belongs to the window, not the listener";
}

TEST_F(FormSQMainTest, everyPartOfTheStripGivesExactlyOneNotificationPerEvent) {
    stepTo(600);
    // Each press is the part's under it, which passes it on to the window.
    std::vector<char> heard;
    for (auto [handler, part] :
         {std::pair{&form().FrameVorn().OnMouseDown, 'f'}, std::pair{&lead().OnMouseDown, '0'},
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
            pressMoveRelease(widget, b, at, at);
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
