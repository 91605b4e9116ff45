#include "toolkit/WindowGeometry.h"

#include <gtest/gtest.h>

#include <array>

using toolkit::WindowGeometry;

// The window system's reports are the truth in whole pixels; the twips keep
// their fraction only while they still round to the reported pixel.
namespace {

// Left, top, width and height.
using Twips = std::array<float, 4>;

Twips twips(const WindowGeometry& g) {
    return {g.Left(), g.Top(), g.Width(), g.Height()};
}

} // namespace

// Each report against a window set to some twips: what the twips become, and what changed; the
// pixels then come from the rounded edges and the desktop's origin.
TEST(WindowGeometry, takesWhatNoLongerRoundsToTheReportedPixels) {
    const struct {
        const char* what;
        Twips set;
        QRect reported;
        QPoint origin;
        Twips expected;
        bool resized;
    } cases[] = {
        // Left 7 twips rounds to 0, the right edge 37 to 2: two pixels wide.
        {"never less than a pixel high, so a height of 0 is taken from the report",
         {7, 22.5f, 30, 0}, QRect(0, 2, 2, 1), QPoint(),
         {7, 22.5f, 30, 15}, false},
        {"a place left of the desktop's edge",
         {-15, 0, 19200, 315}, QRect(-1, 0, 1280, 21), QPoint(),
         {-15, 0, 19200, 315}, false},
        {"a move by the user keeps the size's fraction",
         {100.5f, 200.25f, 3000.7f, 600}, QRect(47, 3, 200, 40), QPoint(),
         {705, 45, 3000.7f, 600}, false},
        {"a move along one axis keeps the other coordinate's fraction",
         {100.5f, 200.25f, 3000.7f, 600}, QRect(47, 13, 200, 40), QPoint(),
         {705, 200.25f, 3000.7f, 600}, false},
        {"a minimum size the window manager imposes keeps the place",
         {100.5f, 200.25f, 30, 30}, QRect(7, 13, 50, 40), QPoint(),
         {100.5f, 200.25f, 750, 600}, true},
        {"maximised: place and size both",
         {100.5f, 200.25f, 3000.7f, 600}, QRect(0, 0, 1280, 779), QPoint(),
         {0, 0, 19200, 11685}, true},
        {"reports are taken relative to the desktop's origin",
         {0, 0, 19200, 11685}, QRect(10, 30, 1280, 779), QPoint(10, 24),
         {0, 90, 19200, 11685}, false},
        {"a negative place, off the desktop's left edge",
         {0, 11685, 19200, 315}, QRect(-200, 629, 1280, 21), QPoint(),
         {-3000, 9435, 19200, 315}, false},
        {"an empty report is no report",
         {100.5f, 200.25f, 3000.7f, 600}, QRect(), QPoint(),
         {100.5f, 200.25f, 3000.7f, 600}, false},
    };
    for (const auto& c : cases) {
        WindowGeometry g;
        g.Set(c.set[0], c.set[1], c.set[2], c.set[3]);
        const bool resized = g.Reported(c.reported, c.origin);
        EXPECT_EQ(std::tuple(twips(g), resized), std::tuple(c.expected, c.resized)) << c.what;
        if (c.reported.isValid()) {
            EXPECT_EQ(g.OuterPixels(c.origin), c.reported) << c.what;
        }
    }
}

// Answers that come late, on a loaded machine: every report is taken as it
// comes, nothing is asked again, and the last one leaves the window where
// the last request put it.
TEST(WindowGeometry, lateAnswersAreFollowedUntilTheLastOneComesIn) {
    WindowGeometry g;
    g.Set(0, 0, 2790, 315);
    const QRect first = g.OuterPixels(QPoint());
    g.Set(0, 11685, 19200, 315);
    const QRect last = g.OuterPixels(QPoint());
    // The first request's answer, then the new place with the old size.
    EXPECT_TRUE(g.Reported(first, QPoint())) << "the first answer, smaller than the last request";
    EXPECT_EQ(twips(g), (Twips{0, 0, 2790, 315})) << "the first answer";
    EXPECT_FALSE(g.Reported(QRect(last.topLeft(), first.size()), QPoint()));
    EXPECT_TRUE(g.Reported(last, QPoint()));
    EXPECT_EQ(twips(g), (Twips{0, 11685, 19200, 315})) << "the last answer";
    EXPECT_FALSE(g.Reported(last, QPoint())) << "a copy of the same report";

    // A handler sets one part while a passing state stands reported: the
    // others it hands back as they stand are not the code's, and the last
    // answer finds every fraction the code set.
    g.Set(0, 15040.47f, 19200, 319.53f);
    g.Reported(QRect(100, 501, 640, 22), QPoint());
    const auto which = g.Set(g.Left(), g.Top(), g.Width(), 319.53f);
    EXPECT_TRUE(!which.left && !which.top && !which.width && which.height);
    g.Reported(QRect(0, 1003, 1280, 21), QPoint());
    EXPECT_EQ(twips(g), (Twips{0, 15040.47f, 19200, 319.53f})) << "after a passing state";
}
