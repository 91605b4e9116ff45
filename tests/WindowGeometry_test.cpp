#include "toolkit/WindowGeometry.h"

#include <gtest/gtest.h>

using toolkit::WindowGeometry;

// The window system's reports, in the orders a window manager sends them:
// which of them the twips take and which are echoes of the window's own
// requests.
namespace {

const QPoint kOrigin(0, 0);

class WindowGeometryTest : public ::testing::Test {
protected:
    // Sets the twips and sends them, as the window does.
    QRect request(float left, float top, float width, float height) {
        g.Set(left, top, width, height);
        const QRect outer = g.OuterPixels(kOrigin);
        g.Requested(outer);
        return outer;
    }
    void expectTwips(float left, float top, float width, float height) {
        EXPECT_FLOAT_EQ(g.Left(), left);
        EXPECT_FLOAT_EQ(g.Top(), top);
        EXPECT_FLOAT_EQ(g.Width(), width);
        EXPECT_FLOAT_EQ(g.Height(), height);
    }
    WindowGeometry g;
};

} // namespace

TEST_F(WindowGeometryTest, pixelsComeFromRoundedEdgesAndTheDesktopOrigin) {
    g.Set(7, 22.5f, 30, 0);
    // Left 7 twips rounds to 0, the right edge 37 to 2: two pixels wide.
    EXPECT_EQ(g.OuterPixels(kOrigin), QRect(0, 2, 2, 1));
    EXPECT_EQ(g.OuterPixels(QPoint(100, 40)), QRect(100, 42, 2, 1)) << "never less than a pixel";
    g.Set(-15, 0, 19200, 315);
    EXPECT_EQ(g.OuterPixels(kOrigin), QRect(-1, 0, 1280, 21));
}

TEST_F(WindowGeometryTest, echoesOfOlderAndHalfDoneRequestsChangeNothing) {
    // The strip's start: shown small at the top-left, then stretched and put
    // at the bottom, as two requests in a row.
    const QRect first = request(0, 0, 2790, 315);
    const QRect second = request(0, 11685, 19200, 315);
    // The window manager's echoes, late: the first request, then the new
    // place with the old size (a move reported before the resize).
    for (const QRect& echo : {first, QRect(second.topLeft(), first.size()), QRect()}) {
        const auto change = g.Reported(echo, kOrigin);
        EXPECT_FALSE(change.moved || change.resized);
        EXPECT_TRUE(g.Outstanding());
    }
    expectTwips(0, 11685, 19200, 315);
    EXPECT_FALSE(g.Reported(second, kOrigin).moved);
    EXPECT_FALSE(g.Outstanding()) << "the request came back as sent";
    expectTwips(0, 11685, 19200, 315);
    // The same report again, as a synthetic copy of the real one.
    EXPECT_FALSE(g.Reported(second, kOrigin).resized);
}

TEST_F(WindowGeometryTest, onceSettledAMoveOrResizeByTheUserIsTakenOnlyForWhatChanged) {
    const QRect placed = request(100.5f, 200.25f, 3000.7f, 600);
    g.Reported(placed, kOrigin);
    // Moved by the window manager (a drag by the user): the size keeps its
    // exact twips.
    auto change = g.Reported(placed.translated(40, -10), kOrigin);
    EXPECT_TRUE(change.moved);
    EXPECT_FALSE(change.resized);
    EXPECT_FLOAT_EQ(g.Left(), (placed.x() + 40) * 15.0f);
    EXPECT_FLOAT_EQ(g.Top(), (placed.y() - 10) * 15.0f);
    EXPECT_FLOAT_EQ(g.Width(), 3000.7f);
    // Maximised: place and size both.
    change = g.Reported(QRect(0, 0, 1280, 779), QPoint(0, 0));
    EXPECT_TRUE(change.moved && change.resized);
    expectTwips(0, 0, 19200, 11685);
    // Reports are taken relative to the desktop's origin.
    change = g.Reported(QRect(10, 30, 1280, 779), QPoint(10, 24));
    EXPECT_TRUE(change.moved);
    EXPECT_FLOAT_EQ(g.Left(), 0);
    EXPECT_FLOAT_EQ(g.Top(), 90);
}

TEST_F(WindowGeometryTest, aRequestTheWindowManagerAlteredIsNotTakenButLaterUserChangesAre) {
    // Asked for a place wholly below the screen; the window manager keeps the
    // window on it and never reports the request back.
    request(0, 12000, 19200, 315);
    const QRect kept(0, 779, 1280, 21);
    g.Reported(kept, kOrigin);
    EXPECT_TRUE(g.Outstanding());
    g.Settle(kept);
    EXPECT_FALSE(g.Outstanding());
    expectTwips(0, 12000, 19200, 315);
    EXPECT_FALSE(g.Reported(kept, kOrigin).moved) << "what it made of the request is no change";
    // Then the user narrows it.
    const auto change = g.Reported(QRect(0, 779, 640, 21), kOrigin);
    EXPECT_TRUE(change.resized);
    EXPECT_FALSE(change.moved);
    expectTwips(0, 12000, 9600, 315);
}

TEST_F(WindowGeometryTest, echoesLaterThanTheSettleTimeAreStillNotTakenForTheUser) {
    // A burst of requests while the window manager is starved: the window
    // goes quiet, then the answers arrive after all.
    const QRect a = request(1500, 1500, 6000, 315);
    const QRect b = request(0, 11685, 6000, 315);
    const QRect c = request(0, 11685, 19200, 315);
    g.Settle(QRect(0, 0, 186, 21));
    for (const QRect& late : {a, b, QRect(c.topLeft(), a.size()), c}) {
        const auto change = g.Reported(late, kOrigin);
        EXPECT_FALSE(change.moved || change.resized);
    }
    expectTwips(0, 11685, 19200, 315);
    // The last one came back as sent: a later report of an old size is the
    // user's again.
    g.Requested(c);
    g.Reported(c, kOrigin);
    EXPECT_TRUE(g.Reported(QRect(c.topLeft(), a.size()), kOrigin).resized);
    EXPECT_FLOAT_EQ(g.Width(), 6000);
}

TEST_F(WindowGeometryTest, aNewRequestMakesReportsEchoesAgainUntilItComesBack) {
    const QRect a = request(0, 0, 1500, 1500);
    g.Reported(a, kOrigin);
    const QRect b = request(1500, 0, 1500, 1500);
    // A report of the old place while b is under way is not a user's move
    // back there.
    EXPECT_FALSE(g.Reported(a, kOrigin).moved);
    expectTwips(1500, 0, 1500, 1500);
    g.Reported(b, kOrigin);
    EXPECT_FALSE(g.Outstanding());
}

TEST_F(WindowGeometryTest, theEndOfAnInteractiveMoveTakesThePlaceOutright) {
    request(300, 300, 4500, 600);
    // The window manager moved the window while the request was under way;
    // its final report is where the drag ended.
    g.AdoptPosition(QRect(-200, 500, 300, 40), QPoint(0, 24));
    EXPECT_FLOAT_EQ(g.Left(), -3000);
    EXPECT_FLOAT_EQ(g.Top(), 7140);
    EXPECT_FLOAT_EQ(g.Width(), 4500);
    EXPECT_FALSE(g.Outstanding());
    EXPECT_FALSE(g.Reported(QRect(-200, 500, 300, 40), QPoint(0, 24)).moved);
}

TEST_F(WindowGeometryTest, whileTheWindowManagerPlacesANewWindowEvenALateOldSizeIsNoChange) {
    // The strip's start as openbox sends it on a busy core: mapped small, then
    // stretched and put at the bottom; the request comes back as sent, then
    // the window manager applies the size it read when the window was mapped.
    g.Set(0, 0, 2790, 705);
    g.Shown(g.OuterPixels(kOrigin));
    request(0, 0, 2790, 315);
    request(0, 0, 19200, 315);
    const QRect placed = request(0, 11685, 19200, 315);
    EXPECT_FALSE(g.Reported(placed, kOrigin).resized);
    const QRect stale(0, 779, 186, 21);
    EXPECT_FALSE(g.Reported(stale, kOrigin).resized);
    EXPECT_TRUE(g.Outstanding()) << "the placement runs until the window system is quiet";
    expectTwips(0, 11685, 19200, 315);
    g.Settle(stale);
    EXPECT_FALSE(g.Outstanding());
    EXPECT_TRUE(g.Displaced(kOrigin)) << "so that the window asks once more";
    // Asked again and carried out: in place, and the user's changes count again.
    g.Requested(placed);
    g.Reported(placed, kOrigin);
    EXPECT_FALSE(g.Displaced(kOrigin));
    EXPECT_TRUE(g.Reported(QRect(0, 779, 640, 21), kOrigin).resized);
    EXPECT_FLOAT_EQ(g.Width(), 9600);
}

TEST_F(WindowGeometryTest, aUserWhoMovesANewWindowAtOnceKeepsItWhereItWasPut) {
    g.Set(1500, 1500, 4500, 3000);
    const QRect shown = g.OuterPixels(kOrigin);
    g.Shown(shown);
    g.Reported(shown, kOrigin);
    // Dragged by its caption bar before the window system has gone quiet.
    const auto change = g.Reported(shown.translated(120, 40), kOrigin);
    EXPECT_TRUE(change.moved);
    EXPECT_FALSE(change.resized);
    expectTwips(3300, 2100, 4500, 3000);
    g.Settle(shown.translated(120, 40));
    EXPECT_FALSE(g.Displaced(kOrigin)) << "nothing to ask for again";
}
