#include "ErrorOf.h"
#include "WindowFixture.h"
#include "support/ScriptedPrompts.h"
#include "toolkit/Checked.h"
#include "toolkit/Colors.h"
#include "toolkit/Error.h"
#include "toolkit/Events.h"
#include "toolkit/Frame.h"
#include "toolkit/TextBox.h"

#include <QLineEdit>
#include <QPalette>
#include <QWidget>

#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

using namespace toolkit;

// A sum overflows instead of wrapping; the other operations are the strip's properties', the
// fast forward's, the desktop's measures' and the packed cursor position's.
TEST(Checked, aSumOverflowsAndRoundingTakesHalvesToTheEvenNeighbour) {
    EXPECT_EQ(errorOf([] { Add32(std::numeric_limits<int32_t>::max(), 1); }), 6);
    for (const auto& [in, out] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-0.5, 0}, {6.5 / 4 * 4, 6},
                                  {32767.4, 32767}})
        EXPECT_EQ(RoundToInt16(in), out) << in;
    for (const double beyond : {32767.5, std::nan(""), 1e300})
        EXPECT_EQ(errorOf([beyond] { RoundToInt16(beyond); }), 6) << beyond;
}

// The button face, unlike text, differs from its neighbours in the table in Qt's palette.
TEST(Colors, rgbAndSystemColoursResolveAndNonsenseIsRejected) {
    EXPECT_EQ(ToQColor(vbButtonFace), QApplication::palette().color(QPalette::Button));
    Window w;
    w.SetBackColor(RGB(1, 2, 3));
    for (const int32_t nonsense : {SystemColor(25), 0x01000000, -5})
        EXPECT_EQ(errorOf([&] { w.SetBackColor(nonsense); }), 380) << nonsense;
    EXPECT_EQ(w.BackColor(), RGB(1, 2, 3)) << "a rejected colour changes nothing";
}

// Posted handlers run through it from the next yield, never nested: the strip's, the panel's
// and the About box's tests.
TEST_F(Unpaced, dispatchShowsAnyErrorAndCarriesOn) {
    Dispatch([] { throw Error::Overflow(); });
    Dispatch([] { throw std::bad_alloc(); });
    Dispatch([] { throw std::runtime_error("broken"); });
    Dispatch([] { throw 42; });
    // A reporter that fails itself does not take the application down.
    {
        const testsupport::ScopedErrorReporter failing{[&](const QString& text) {
            reported.push_back(text);
            throw std::runtime_error("no screen");
        }};
        Dispatch([] { throw Error::ObjectNotSet(); });
    }
    EXPECT_EQ(reported,
              (std::vector<QString>{QStringLiteral("Overflow"), QStringLiteral("Out of memory"),
                                    QStringLiteral("broken"), QStringLiteral("Unexpected error"),
                                    QStringLiteral("Object variable not set")}));

    // With no reporter of its own the user is told in a message box, through
    // the same prompts as every other question.
    const testsupport::ScopedErrorReporter none{nullptr};
    const testsupport::InstalledPrompts prompts;
    Dispatch([] { throw std::runtime_error("disk gone"); });
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].prompt, QStringLiteral("disk gone"));
    EXPECT_EQ(prompts->shown[0].buttons, vbOKOnly + vbCritical);
}

TEST_F(Unpaced, pacedYieldsTakeAPeriodEachOnAverageAndStillRunPostedHandlers) {
    // A floor only, which a slow machine cannot break: yields that stopped
    // waiting would take microseconds each.
    const testsupport::ScopedYieldPeriod paced{std::chrono::milliseconds(1)};
    constexpr int kYields = 400;
    int ran = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kYields; ++i) {
        PostToDispatch([&] { ++ran; });
        DoEvents();
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kYields * 3 / 4));
    EXPECT_EQ(ran, kYields);
}

TEST_F(Unpaced, windowKeepsTwipsExactlyRejectsBadLengthsAndBoundsResizing) {
    // Twips kept to fractions of a pixel: the desktop placements' tests.
    Window w;
    w.SetLeft(1.0f);
    EXPECT_EQ(errorOf([&] { w.SetWidth(-1); }), 380);
    EXPECT_EQ(errorOf([&] { w.SetHeight(std::nanf("")); }), 380);
    // Nothing infinite, and the limit holds on both sides of 0.
    for (const float beyond : {std::numeric_limits<float>::infinity(), 1.5e9f, -1.5e9f}) {
        EXPECT_EQ(errorOf([&] { w.SetLeft(beyond); }), 380) << beyond;
        EXPECT_EQ(errorOf([&] { w.SetTop(beyond); }), 380) << beyond;
    }
    w.SetTop(-1.0e9f);
    EXPECT_EQ(std::tuple(w.Top(), w.Left()), std::tuple(-1.0e9f, 1.0f));

    // A size handler that keeps resizing is bounded.
    int depth = 0;
    w.OnResize = [&] {
        ++depth;
        w.SetHeight(w.Height() + 15); // never settles
    };
    w.SetHeight(1000);
    EXPECT_LE(depth, 32); // and more than one deep: the strip's height snaps back
}

// Showing maps the window once the running handler has returned, where that
// handler left it; hiding is at once.
TEST_F(Unpaced, aShowMapsFromTheEventLoopAndAnOwnedWindowHiddenOnPurposeStaysHidden) {
    Window w, brief;
    w.Show();
    w.Move(1500, 750, 3000, 1500);
    // Shown and hidden again by one handler: never mapped.
    brief.Show();
    brief.Hide();
    // Gone before its map: nothing runs on it.
    auto gone = std::make_unique<Window>();
    gone->Show();
    gone.reset();
    // Not mapped inside the handler.
    EXPECT_EQ(std::tuple(w.Visible(), w.NativeWidget()->isVisible(), w.GeometryOutstanding()),
              std::tuple(true, false, true));
    drain();
    EXPECT_EQ(std::tuple(w.NativeWidget()->isVisible(), w.NativeWidget()->geometry().size(),
                         brief.NativeWidget()->isVisible()),
              std::tuple(true, QSize(200, 100), false));

    // Hiding with the owner and coming back with it is the panel's Hide Vorn; one hidden on
    // purpose stays hidden when the owner comes back. An owner destroyed first leaves the owned
    // window usable.
    Window owned;
    {
        Window owner;
        owned.Show(vbModeless, &owner);
        owned.Hide();
        owner.SetWindowState(vbMinimized);
        owner.SetWindowState(vbNormal);
        drain();
        EXPECT_FALSE(owned.NativeWidget()->isVisible());
        owned.Show();
        drain();
        EXPECT_EQ(std::tuple(owned.NativeWidget()->isVisible(), owned.Owner()), std::tuple(true, &owner));
    }
    EXPECT_EQ(owned.Owner(), nullptr);
    owned.Hide();
    owned.Show();
    drain();
    EXPECT_TRUE(owned.NativeWidget()->isVisible());
}

TEST_F(Unpaced, controlsNotifyRealChangesFromCodeAndUserAndNothingOnceDestroyed) {
    Window w;
    TextBox box(w);
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    box.SetText(QStringLiteral("12"));
    box.SetText(QStringLiteral("12"));
    const QString big(40000, QLatin1Char('x'));
    box.SetText(big);
    EXPECT_EQ(std::tuple(changes, box.Text() == big), std::tuple(2, true)) << "nothing is cut off";

    auto* edit = static_cast<QLineEdit*>(box.NativeWidget());
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("7"));
    EXPECT_EQ(changes, 2) << "a user's edit is handled from the event loop";
    DoEvents();
    EXPECT_EQ(std::tuple(changes, box.Text()), std::tuple(3, QStringLiteral("7")));

    // A control destroyed before its queued mouse notification is safe.
    auto frame = std::make_unique<Frame>(w);
    int seen = 0;
    frame->OnMouseDown = [&](int16_t&, int16_t&, float&, float&) { ++seen; };
    sendMouse(frame->NativeWidget(), QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton, Qt::LeftButton);
    frame.reset();
    DoEvents();
    EXPECT_EQ(seen, 0);
}
