#include "ErrorOf.h"
#include "PanelFixture.h"
#include "toolkit/Colors.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QImage>
#include <QPushButton>

using namespace toolkit;

using Panel = PanelFixture;

// The heights it takes, in place, on a real window manager: the e2e scenario; Z order and the
// drag itself there: the e2e suites.
TEST_F(Panel, panelExpandsInTabOrderAndAPressOnTheStripShowsTheHiddenMenuAndALeftOnePullsItIn) {
    choose(panel->mnuOptionPanel());
    FormMain& f = *panel;
    expectLaidOut({&f.Frame1(), &f.Label3(), &f.btnFF(), &f.Label1(), &f.HScrollSpeed(),
                   &f.TextSpeed(), &f.Label2(), &f.HScrollTiming(), &f.TextTiming()});
    // Tab goes from the timing's box to the speed's, not in the order the widgets were made.
    EXPECT_EQ(f.TextTiming().NativeWidget()->nextInFocusChain(), f.TextSpeed().NativeWidget());

    // Expanded, to see that it stays so.
    const float panelHeight = panel->Height();
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        SCOPED_TRACE(button);
        choose(panel->mnuOptionHideMenu());
        EXPECT_FALSE(panel->NativeWidget()->isVisible());
        EXPECT_TRUE(strip->NativeWidget()->isVisible());
        strip->SetLeft(-3000);
        // The button is already up when the move starts, so a drag ends at once.
        pressMoveRelease(strip->ClientWidget(), button, QPoint(4, 4), QPoint(4, 4));
        drain();
        EXPECT_EQ(std::tuple(panel->Visible(), panel->NativeWidget()->isVisible(), strip->Left(),
                             panel->mnuOptionPanel().Checked()),
                  std::tuple(true, true, button == Qt::LeftButton ? 0.0f : -3000.0f, true));
        EXPECT_FLOAT_EQ(panel->Height(), panelHeight);
    }
    choose(panel->mnuOptionPanel());
    EXPECT_FALSE(panel->mnuOptionPanel().Checked());
}

// The termination signal, which does not ask, inside nested runs of the scroll. Quit and the
// window manager's close, answered No and Yes inside nested runs: the e2e scenario.
TEST_F(Panel, aSignalInsideNestedRunsEndsEveryRunThenTheApplication) {
    std::weak_ptr<FormMain> watch = panel;
    int maxRuns = 0;
    onYield = [&] {
        maxRuns = std::max(maxRuns, csqc().Runs());
        if (yields == 10)
            click(watch.lock()->mnuCtrlPlay());
        if (yields == 50)
            watch.lock()->UnloadWithoutQuery();
    };
    panel.reset();
    choose(watch.lock()->mnuCtrlPlay());
    // The signal may ask for the end twice; the controller gone by then means no run was left.
    EXPECT_EQ(std::tuple(yields < 100, maxRuns, prompts->shown.size(), watch.expired(),
                         strip->Loaded(), controllerGoneAtEnd),
              std::tuple(true, 2, 0u, true, false, true));
}

// Caption, place and the collapsed height on a real window manager: the e2e scenario.
TEST_F(Panel, startsStillWithTheBarsReadyAndTypedValuesFollowTheNotificationChains) {
    EXPECT_EQ(
        std::tuple(strip->Owner(), csqc().Fuel(), csqc().SegmentCount(), csqc().Speed(),
                   csqc().Timing(), panel->TextSpeed().Text(), panel->TextTiming().Text(),
                   panel->HScrollSpeed().Value(), panel->HScrollTiming().Value()),
        std::tuple(panel.get(), false, 0, 1, 0, QStringLiteral("1"), QStringLiteral("0"), 1, 0));
    // Both bars end at 100; the typed values reach it, and the speed's go no further.
    EXPECT_EQ(errorOf([this] { panel->HScrollTiming().SetValue(101); }), 380);

    FormMain& f = *panel;
    TextBox& box = f.TextSpeed();
    // The bar's value before, the text typed, the text shown, the value after and the caret,
    // -1 for the box's own.
    const std::tuple<int16_t, const char*, const char*, int16_t, int32_t> cases[] = {
        {1, "050", "50", 50, 2},      {37, "x", "0", 0, 1},    {0, "x", "x", 0, 1},
        {20, "150", "150", 20, -1},   {1, "7.5", "8", 8, 1},   {1, "6.5", "6", 6, 1},
        {9, "100.4", "100.4", 9, -1}, {1, "-30", "30", 30, 2}, {1, "&H1F", "31", 31, 2},
        {1, "100", "100", 100, 3},
    };
    for (const auto& [before, typed, shown, after, caret] : cases) {
        SCOPED_TRACE(typed);
        f.HScrollSpeed().SetValue(before);
        box.SetText(QString::fromUtf8(typed));
        EXPECT_EQ(std::tuple(box.Text(), f.HScrollSpeed().Value(), csqc().Speed(),
                             caret < 0 ? -1 : box.SelStart()),
                  std::tuple(QString::fromUtf8(shown), after, after, caret));
    }
    // The same for the timing.
    f.TextTiming().SetText(QStringLiteral("0100"));
    EXPECT_EQ(std::tuple(f.TextTiming().Text(), f.HScrollTiming().Value(), csqc().Timing(),
                         f.TextTiming().SelStart()),
              std::tuple(QStringLiteral("100"), 100, 100, 3));
}

TEST_F(Panel, fastForwardMultipliesWhileHeldAndRestoresOnRelease) {
    FormMain& f = *panel;
    f.HScrollSpeed().SetValue(5);
    f.HScrollTiming().SetValue(2);
    QWidget* button = f.btnFF().NativeWidget();
    // A press (down) or release of the mouse button b on the button, and what it queued.
    const auto mouse = [&](Qt::MouseButton b, bool down) {
        down ? QTest::mousePress(button, b, {}, QPoint(3, 3))
             : QTest::mouseRelease(button, b, {}, QPoint(3, 3));
        drain();
    };
    // Any button counts; the bars stay, and a speed changed meanwhile is divided too.
    mouse(Qt::RightButton, true);
    EXPECT_EQ(std::tuple(csqc().Speed(), csqc().Timing()), std::tuple(20, 8));
    EXPECT_EQ(std::tuple(f.HScrollSpeed().Value(), f.TextSpeed().Text(), f.TextTiming().Text()),
              std::tuple(5, QStringLiteral("5"), QStringLiteral("2")));
    csqc().SetSpeed(6);
    csqc().SetTiming(2);
    mouse(Qt::RightButton, false);
    EXPECT_EQ(std::tuple(csqc().Speed(), csqc().Timing()), std::tuple(2, 0));

    // An overflow of the speed, then of the timing once the speed is multiplied: the user is
    // told and the panel carries on.
    for (const auto& [speed, timing, speedAfter] :
         {std::tuple<int16_t, int16_t, int>(10000, 1, 10000), {100, 9000, 400}}) {
        csqc().SetSpeed(speed);
        csqc().SetTiming(timing);
        mouse(Qt::LeftButton, true);
        EXPECT_EQ(csqc().Speed(), speedAfter);
        mouse(Qt::LeftButton, false);
    }
    EXPECT_EQ(reported.size(), 2u);
}

// Both windows hidden and brought back on a real window manager: the e2e scenario.
// The text held at speed 0 is the controller's:
// CSQCtrlTest.refreshDuringTheScrollTimingSpeedZero...
TEST_F(Panel, pauseLeavesTheTextRunningAtSpeedZeroPlayStartsItAgainAtSpeedOneAndStopHidesIt) {
    FormMain& f = *panel;
    const float right = strip->FrameVorn().Width();
    onYield = [&] {
        if (yields == 10) {
            f.mnuOptionHideVorn_Click(); // both windows go away, and the text moves on
        } else if (yields == 20) {
            EXPECT_TRUE(panel->NativeWidget()->isMinimized());
            f.HScrollTiming().SetValue(3);
            f.mnuCtrlPause_Click();
            EXPECT_EQ(std::tuple(csqc().Fuel(), strip->TextVorn(0).Visible(), csqc().Speed(), csqc().Timing()),
                      std::tuple(true, true, 0, 0));
            EXPECT_FLOAT_EQ(strip->TextVorn(0).Left(), right - 20) << "moved while away, held now";
            f.HScrollTiming().SetValue(5);
            f.mnuCtrlPlay_Click();
        } else if (yields == 21) {
            EXPECT_EQ(std::tuple(strip->TextVorn(0).Left(), f.mnuCtrlPause().Checked(), csqc().Timing()),
                      std::tuple(right - 1, true, 0)) << "from the beginning at speed 1";
            f.mnuCtrlStop_Click();
            EXPECT_FALSE(strip->TextVorn(0).Visible());
        }
    };
    csqc().Scroll(true, QStringLiteral("Text that scrolls while the panel pauses it."));
    EXPECT_EQ(std::tuple(yields, csqc().Speed(), f.TextSpeed().Text(), csqc().Fuel(), csqc().Runs()),
              std::tuple(21, 1, QStringLiteral("1"), false, 0));

    // While stopped, pause changes the values and nothing else.
    f.HScrollTiming().SetValue(4);
    f.mnuCtrlPause_Click();
    EXPECT_EQ(std::tuple(f.mnuCtrlPause().Checked(), csqc().Speed(), csqc().Timing()), std::tuple(false, 1, 0));
    f.HScrollSpeed().SetValue(50);
    f.mnuCtrlPause_Click();
    EXPECT_EQ(std::tuple(f.mnuCtrlPause().Checked(), f.HScrollSpeed().Value(), f.TextSpeed().Text(),
                         csqc().Speed(), csqc().Fuel(), csqc().Runs()),
              std::tuple(true, 0, QStringLiteral("0"), 0, false, 0));
}

TEST_F(Panel, theFontAndColourDialogsShowTheStripsOwnAndTheirChoicesReachItAsStartUpPlacesIt) {
    strip->SetFontUnderline(true);
    panel->Controller()->Refresh();
    const StdFont before = strip->Font();
    const float height = strip->Height();
    // Cancelled: nothing changes, but a strip partly below the desktop is pulled back.
    strip->SetTop(deskHeight() - height + 300.0f);
    dialogs->CancelFont();
    choose(panel->mnuOptionFont());
    EXPECT_EQ(std::pair(strip->Font(), strip->TextVorn(0).Font()), std::pair(before, before));
    EXPECT_FLOAT_EQ(strip->Top(), deskHeight() - height);

    // Italic at 36 points, without the underline, which is not offered with flags 3 and so
    // is not taken.
    dialogs->AnswerFont(DialogFont{before.Name, 36.0f, false, true, false, false});
    choose(panel->mnuOptionFont());
    ASSERT_EQ(dialogs->shown.Fonts.size(), 2u);
    EXPECT_EQ(dialogs->shown.Fonts[1], (DialogFont{before.Name, before.Size, before.Bold,
                                                   before.Italic, before.Strikethrough, true}));
    EXPECT_EQ(std::tuple(strip->FontSize(), strip->FontItalic(), strip->FontBold(), strip->FontUnderline()),
              std::tuple(36.0f, true, false, true));
    EXPECT_GT(strip->Height(), 3.0f * height - 100.0f) << "one line of the larger text";
    EXPECT_FLOAT_EQ(strip->Top() + strip->Height(), deskHeight());
    EXPECT_EQ(strip->Left(), 0.0f);

    // The start-up position puts it back across the bottom of the work area, whatever its height.
    const float grown = strip->Height();
    strip->Move(1500, 900, 4000, grown);
    choose(panel->mnuOptionStartUpPosition());
    EXPECT_EQ(std::tuple(strip->Left(), strip->Width(), strip->Top(), strip->Height(),
                         panel->mnuOptionStartUpPosition().Checked()),
              std::tuple(0.0f, static_cast<float>(panel->CtrlFlavors()->DeskTopWidth()),
                         deskHeight() - grown, grown, false));

    // The colours, which the colour dialogs show with the flags the font dialog set. Taken
    // during a scroll without restarting it: CSQCtrlTest.refreshDuringTheScroll...
    const int32_t red = RGB(255, 0, 0), black = RGB(0, 0, 0);
    const int32_t foreBefore = strip->ForeColor(), backBefore = strip->BackColor();
    // The whole strip full of text, drawn once in the old colours.
    csqc().Scroll(false, QStringLiteral("segment text ").repeated(50));
    strip->TextVorn(0).SetVisible(true);
    strip->TextVorn(0).SetLeft(0);
    strip->FrameVorn().Present();
    strip->FrameVorn().NativeWidget()->grab();
    dialogs->AnswerColor(red);
    dialogs->AnswerColor(black);
    choose(panel->mnuOptionFontColor());
    EXPECT_EQ(std::tuple(strip->TextVorn(0).ForeColor(), strip->TextVorn(0).BackColor()),
              std::tuple(red, backBefore)) << "the text colour alone";
    choose(panel->mnuOptionBackColor());
    // Drawn so: red letters on black, nothing left of the old orange and grey.
    const QImage shot = strip->FrameVorn().NativeWidget()->grab().toImage();
    EXPECT_GT(countPixels(shot, [](QColor c) { return c == QColor(255, 0, 0); }), 10);
    EXPECT_GT(countPixels(shot, [](QColor c) { return c == QColor(0, 0, 0); }),
              shot.width() * shot.height() / 2);
    EXPECT_EQ(dialogs->shown.Colors, (std::vector<int32_t>{foreBefore, backBefore}));
    EXPECT_EQ(dialogs->shown.Flags, std::vector<int32_t>(4, cdlCFBoth));
}

// Title, modality and owner on a real window manager: the e2e scenario.
TEST_F(Panel, aboutShowsTheMakersReportAsThreeLinesAndItsPage) {
    QPointer<QWidget> seen;
    const WhenModal modal([&](QWidget& m) {
        seen = &m;
        // The report's three lines, and Web (made before OK) enabled.
        EXPECT_EQ(std::tuple(m.findChild<QPlainTextEdit*>()->toPlainText(),
                             m.findChildren<QPushButton*>().front()->isEnabled()),
                  std::tuple(QStringLiteral("This Software Distributed By \n\nKestrix"), true));
        QTest::keyClick(&m, Qt::Key_Return);
    });
    choose(panel->mnuAboutMe());
    ASSERT_TRUE(modal.ran) << "no modal dialog";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Closed and released with its wrapper, nothing opened on the way.
    EXPECT_EQ(std::tuple(shell->requests.empty(), seen.isNull()), std::tuple(true, true));
}
