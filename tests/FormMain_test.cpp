#include "ErrorOf.h"
#include "PanelFixture.h"
#include "app/FormMain.h"
#include "toolkit/Events.h"
#include "util/CCtrlFlavors.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace toolkit;

namespace {

class Panel : public PanelFixture {};

} // namespace

TEST_F(Panel, startsWithEveryItemAndWidgetInItsFirstState) {
    EXPECT_EQ(panel->Caption(), QStringLiteral("vorn2 1.0"));
    EXPECT_TRUE(panel->Visible());
    // The strip: empty and stopped, full width at the bottom-left, owned by the panel.
    EXPECT_TRUE(strip->Visible());
    EXPECT_EQ(strip->Owner(), panel.get());
    EXPECT_FALSE(csqc().Fuel());
    EXPECT_EQ(csqc().SegmentCount(), 0);
    const auto& flavors = *panel->CtrlFlavors();
    EXPECT_EQ(strip->Width(), static_cast<float>(flavors.DeskTopWidth()));
    EXPECT_EQ(strip->Left(), 0.0f);
    EXPECT_EQ(strip->Top(), static_cast<float>(flavors.DeskTopHeight()) - strip->Height());
    // The panel: caption and menu bar only.
    EXPECT_EQ(panel->ScaleHeight(), 0.0f);
    EXPECT_GT(panel->Height(), 0.0f);
    EXPECT_EQ(csqc().Speed(), 1);
    EXPECT_EQ(csqc().Timing(), 0);
    EXPECT_EQ(panel->TextSpeed().Text(), QStringLiteral("1"));
    EXPECT_EQ(panel->TextTiming().Text(), QStringLiteral("0"));
    EXPECT_EQ(panel->HScrollSpeed().Value(), 1);
    EXPECT_EQ(panel->HScrollTiming().Value(), 0);
    for (HScrollBar* bar : {&panel->HScrollSpeed(), &panel->HScrollTiming()}) {
        EXPECT_EQ(bar->Min(), 0);
        EXPECT_EQ(bar->Max(), 100);
        EXPECT_EQ(bar->SmallChange(), 1);
        EXPECT_EQ(bar->LargeChange(), 1);
    }

    struct Item {
        MenuItem& item;
        const char* caption;
        bool enabled;
    };
    FormMain& f = *panel;
    const std::vector<Item> items = {
        {f.mnuFile(), "File(&F)", true},
        {f.mnuFileLocal(), "Local(&L)...", true},
        {f.mnuFileLocalReload(), "Local Reload(&R)", false},
        {f.mnuFileWeb(), "Web(&W)...", true},
        {f.mnuFileWebReload(), "Web Reload(&R)", false},
        {f.mnuVornHR01(), "-", true},
        {f.mnuFileQuit(), "Quit(&Q)", true},
        {f.mnuCtrl(), "Ctrl(&C)", true},
        {f.mnuCtrlPlay(), "Play(&P)", true},
        {f.mnuCtrlStop(), "Stop(&S)", true},
        {f.mnuCtrlPause(), "Pause(&U)", true},
        {f.mnuOption(), "Option(&O)", true},
        {f.mnuOptionFont(), "Font(&F)...", true},
        {f.mnuOptionFontColor(), "Font Color(&C)...", true},
        {f.mnuOptionBackColor(), "Back Color(&B)...", true},
        {f.mnuOptionHR01(), "-", true},
        {f.mnuOptionZOrder(), "Z Order(&Z)", true},
        {f.mnuOptionStartUpPosition(), "StartUp Position(&S)", true},
        {f.mnuOptionPanel(), "Panel(&P)", true},
        {f.mnuOptionHR02(), "-", true},
        {f.mnuOptionHideMenu(), "Hide Menu(&H)", true},
        {f.mnuOptionHideVorn(), "Hide Vorn(&M)", true},
        {f.mnuAbout(), "About(&A)", true},
        {f.mnuAboutMe(), "Me(&M)...", true},
    };
    for (const Item& i : items) {
        SCOPED_TRACE(i.caption);
        EXPECT_EQ(i.item.Caption(), QString::fromUtf8(i.caption));
        if (!i.item.IsSeparator()) {
            EXPECT_EQ(i.item.NativeAction()->text(), QString::fromUtf8(i.caption));
        }
        EXPECT_EQ(i.item.Enabled(), i.enabled);
        EXPECT_EQ(i.item.NativeAction()->isEnabled(), i.enabled);
        EXPECT_FALSE(i.item.Checked());
        EXPECT_TRUE(i.item.NativeAction()->shortcut().isEmpty());
    }
    // Display order: the menus on the bar, the items in their menus.
    const auto bar = panel->MenuBar()->actions();
    ASSERT_EQ(bar.size(), 4);
    EXPECT_EQ(bar[0], f.mnuFile().NativeAction());
    EXPECT_EQ(bar[3], f.mnuAbout().NativeAction());
    const auto option = f.mnuOption().NativeMenu()->actions();
    ASSERT_EQ(option.size(), 10);
    EXPECT_EQ(option[6], f.mnuOptionPanel().NativeAction());
    EXPECT_EQ(f.mnuFile().NativeMenu()->actions().size(), 6);
    EXPECT_EQ(f.mnuCtrl().NativeMenu()->actions().size(), 3);
}

TEST_F(Panel, widgetsSitWhereDesignedInTheirTabOrder) {
    FormMain& f = *panel;
    struct Place {
        Control& c;
        float left, top, width, height;
        int16_t tab;
    };
    const std::vector<Place> places = {
        {f.Frame1(), 405, 510, 3000, 1500, 0},      {f.Label3(), 300, 200, 210, 180, 8},
        {f.btnFF(), 300, 400, 600, 300, 7},         {f.Label1(), 1200, 200, 465, 180, 6},
        {f.HScrollSpeed(), 1200, 400, 900, 300, 4}, {f.TextSpeed(), 2100, 400, 600, 300, 2},
        {f.Label2(), 1200, 825, 510, 180, 5},       {f.HScrollTiming(), 1200, 1000, 900, 300, 3},
        {f.TextTiming(), 2100, 1000, 600, 300, 1},
    };
    for (const Place& p : places) {
        EXPECT_EQ(p.c.Left(), p.left);
        EXPECT_EQ(p.c.Top(), p.top);
        EXPECT_EQ(p.c.Width(), p.width);
        EXPECT_EQ(p.c.Height(), p.height);
        EXPECT_EQ(p.c.TabIndex(), p.tab);
    }
    EXPECT_EQ(f.Frame1().Caption(), QStringLiteral("Speed Control"));
    EXPECT_EQ(f.Label1().Caption(), QStringLiteral("Speed"));
    EXPECT_EQ(f.Label2().Caption(), QStringLiteral("Timing"));
    EXPECT_EQ(f.Label3().Caption(), QStringLiteral("FF"));
    EXPECT_EQ(f.btnFF().Caption(), QStringLiteral("l>l>"));
    // Tab goes from TextTiming to TextSpeed to the bars and on to the button.
    const auto next = [](QWidget* w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    const Control* order[] = {&f.TextTiming(), &f.TextSpeed(), &f.HScrollTiming(), &f.HScrollSpeed(), &f.btnFF()};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_EQ(next(order[i]->NativeWidget()), order[i + 1]->NativeWidget()) << i;
}

TEST_F(Panel, stripIsShownBeforeThePanel) {
    auto fresh = std::make_shared<FormMain>();
    EXPECT_FALSE(fresh->Marquee()->Visible());
    fresh->Load();
    EXPECT_TRUE(fresh->Marquee()->Visible());
    EXPECT_FALSE(fresh->Visible());
    fresh->Show();
    EXPECT_TRUE(fresh->Visible());
    fresh->UnloadWithoutQuery();
}

TEST_F(Panel, panelCommandExpandsToFixedHeightAndCollapsesToCaptionAndMenuBar) {
    // Let the window system frame the panel first.
    drain();
    EXPECT_EQ(panel->ScaleHeight(), 0.0f);
    const float collapsed = panel->Height();
    const float left = panel->Left(), top = panel->Top(), width = panel->Width();
    choose(panel->mnuOptionPanel());
    EXPECT_TRUE(panel->mnuOptionPanel().Checked());
    EXPECT_EQ(panel->Height(), 3000.0f);
    // The whole frame shows below the menu bar.
    EXPECT_GE(panel->ScaleHeight(), panel->Frame1().Top() + panel->Frame1().Height());
    choose(panel->mnuOptionPanel());
    EXPECT_FALSE(panel->mnuOptionPanel().Checked());
    EXPECT_EQ(panel->Height(), collapsed);
    EXPECT_EQ(panel->ScaleHeight(), 0.0f);
    // Expanding gives 3000 whatever the height was.
    panel->SetHeight(collapsed + 4000);
    panel->mnuOptionPanel_Click();
    EXPECT_EQ(panel->Height(), 3000.0f);
    EXPECT_EQ(panel->Left(), left);
    EXPECT_EQ(panel->Top(), top);
    EXPECT_EQ(panel->Width(), width);
}

TEST_F(Panel, quitAnsweredNoKeepsEverythingAndTheCloseButtonAsksToo) {
    choose(panel->mnuFileQuit());
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].prompt, QStringLiteral("Quit ?"));
    EXPECT_EQ(prompts->shown[0].buttons, vbYesNo + vbDefaultButton2);
    EXPECT_EQ(prompts->shown[0].title, QStringLiteral("vorn2"));
    // Unscripted, the box answers its default button, as Enter would: No.
    EXPECT_TRUE(panel->Loaded());
    EXPECT_TRUE(panel->Visible());
    EXPECT_TRUE(strip->Visible());
    EXPECT_EQ(ends, 0);

    prompts->AnswerMsgBox(vbNo);
    panel->NativeWidget()->close();
    drain();
    EXPECT_EQ(prompts->shown.size(), 2u);
    EXPECT_TRUE(panel->Loaded());
    EXPECT_EQ(ends, 0);

    std::weak_ptr<FormMain> watch = panel;
    panel.reset();
    prompts->AnswerMsgBox(vbYes);
    watch.lock()->NativeWidget()->close();
    drain();
    EXPECT_EQ(prompts->shown.size(), 3u);
    EXPECT_TRUE(watch.expired()) << "the panel outlived its unload";
    EXPECT_FALSE(strip->Visible());
    EXPECT_FALSE(strip->Loaded());
    EXPECT_TRUE(controller.expired());
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(FormMain::LoadedPanels().empty());
}

TEST_F(Panel, yesInsideNestedRunsEndsEveryRunThenTheApplication) {
    std::weak_ptr<FormMain> watch = panel;
    int maxRuns = 0;
    onYield = [&] {
        maxRuns = std::max(maxRuns, csqc().Runs());
        if (yields == 10)
            click(watch.lock()->mnuCtrlPlay());
        if (yields == 50) {
            EXPECT_EQ(csqc().Runs(), 2);
            prompts->AnswerMsgBox(vbYes);
            click(watch.lock()->mnuFileQuit());
        }
    };
    panel.reset();
    choose(watch.lock()->mnuCtrlPlay());
    EXPECT_EQ(maxRuns, 2);
    EXPECT_LT(yields, 100);
    EXPECT_EQ(prompts->shown.size(), 1u);
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(controller.expired());
    EXPECT_EQ(ends, 1);
    // The end came only once no run was left.
    EXPECT_TRUE(controllerGoneAtEnd);
    EXPECT_FALSE(strip->Visible());
}

TEST_F(Panel, terminationSignalPathEndsWithoutAsking) {
    onYield = [&] {
        if (yields == 20)
            FormMain::LoadedPanels().front()->EndWithoutAsking();
    };
    std::weak_ptr<FormMain> watch = panel;
    panel.reset();
    choose(watch.lock()->mnuCtrlPlay());
    EXPECT_TRUE(prompts->shown.empty());
    EXPECT_TRUE(watch.expired());
    EXPECT_GE(ends, 1);
    EXPECT_TRUE(controller.expired());
    EXPECT_FALSE(strip->Visible());
}

TEST_F(Panel, typedSpeedsAndTimingsFollowTheNotificationChains) {
    FormMain& f = *panel;
    TextBox& box = f.TextSpeed();
    struct Case {
        int16_t before;
        const char* typed;
        const char* shown;
        int16_t after;
        int32_t caret;
    };
    const Case cases[] = {
        {1, "050", "50", 50, 2},    {37, "x", "0", 0, 1},
        {0, "x", "x", 0, 1},        {0, "", "", 0, 0},
        {20, "150", "150", 20, -1}, {1, "7.5", "8", 8, 1},
        {1, "6.5", "6", 6, 1},      {9, "100.4", "100.4", 9, -1},
        {1, "-30", "30", 30, 2},    {1, "1e400", "1e400", 1, -1},
        {1, "&H1F", "31", 31, 2},   {1, "1e2", "100", 100, 3},
        {5, "0.5", "0", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        f.HScrollSpeed().SetValue(c.before);
        box.SetText(QString::fromUtf8(c.typed));
        EXPECT_EQ(box.Text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(f.HScrollSpeed().Value(), c.after);
        EXPECT_EQ(csqc().Speed(), c.after);
        if (c.caret >= 0) {
            EXPECT_EQ(box.SelStart(), c.caret);
        }
    }
    // The same for the timing, typed by the user.
    f.TextTiming().NativeWidget()->setFocus();
    auto* edit = static_cast<QLineEdit*>(f.TextTiming().NativeWidget());
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("07"));
    drain();
    EXPECT_EQ(f.TextTiming().Text(), QStringLiteral("7"));
    EXPECT_EQ(f.HScrollTiming().Value(), 7);
    EXPECT_EQ(csqc().Timing(), 7);
    EXPECT_EQ(f.TextTiming().SelStart(), 1);
}

TEST_F(Panel, fastForwardMultipliesWhileHeldAndRestoresOnRelease) {
    FormMain& f = *panel;
    f.HScrollSpeed().SetValue(5);
    f.HScrollTiming().SetValue(2);
    QWidget* button = f.btnFF().NativeWidget();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    drain();
    EXPECT_EQ(csqc().Speed(), 20);
    EXPECT_EQ(csqc().Timing(), 8);
    EXPECT_EQ(f.HScrollSpeed().Value(), 5);
    EXPECT_EQ(f.TextSpeed().Text(), QStringLiteral("5"));
    EXPECT_EQ(f.TextTiming().Text(), QStringLiteral("2"));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(3, 3));
    drain();
    EXPECT_EQ(csqc().Speed(), 5);
    EXPECT_EQ(csqc().Timing(), 2);

    // Any button counts; a speed changed meanwhile is divided too.
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(3, 3));
    drain();
    EXPECT_EQ(csqc().Speed(), 20);
    csqc().SetSpeed(6);
    csqc().SetTiming(2);
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(3, 3));
    drain();
    EXPECT_EQ(csqc().Speed(), 2);
    EXPECT_EQ(csqc().Timing(), 0);

    int16_t b = 1, s = 0;
    float x = 0, y = 0;
    csqc().SetSpeed(10000);
    csqc().SetTiming(1);
    EXPECT_EQ(errorOf([&] { f.btnFF_MouseDown(b, s, x, y); }), 6);
    EXPECT_EQ(csqc().Speed(), 10000);
    EXPECT_EQ(csqc().Timing(), 1);
    // The timing overflows after the speed has been multiplied.
    csqc().SetSpeed(100);
    csqc().SetTiming(9000);
    EXPECT_EQ(errorOf([&] { f.btnFF_MouseDown(b, s, x, y); }), 6);
    EXPECT_EQ(csqc().Speed(), 400);
    EXPECT_EQ(csqc().Timing(), 9000);
    // Through the button the error reaches the user and the panel carries on.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    drain();
    EXPECT_EQ(reported.size(), 1u);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(3, 3));
    drain();
}

TEST_F(Panel, pauseHoldsTheTextAndResumesAtSpeedOne) {
    FormMain& f = *panel;
    std::vector<float> leftsWhilePaused;
    bool visibleWhilePaused = true;
    int16_t speedAfterPlay = -1;
    bool markAfterPlay = false;
    onYield = [&] {
        if (yields == 5) {
            f.HScrollSpeed().SetValue(50);
            f.HScrollTiming().SetValue(3);
        }
        if (yields == 30)
            f.mnuCtrlPause_Click();
        if (yields > 40 && yields < 60) {
            leftsWhilePaused.push_back(csqc().Form()->TextVorn(0).Left());
            visibleWhilePaused = visibleWhilePaused && csqc().Form()->TextVorn(0).Visible();
        }
        if (yields == 70) {
            f.mnuCtrlPause_Click();
            f.mnuCtrlPause_Click();
            f.mnuCtrlPlay_Click();
        }
        if (yields == 90) {
            speedAfterPlay = csqc().Speed();
            markAfterPlay = f.mnuCtrlPause().Checked();
            csqc().Scroll(false, QString());
        }
    };
    csqc().Scroll(true, QStringLiteral("Text that scrolls while the panel pauses it."));
    ASSERT_FALSE(leftsWhilePaused.empty());
    for (float left : leftsWhilePaused)
        EXPECT_EQ(left, leftsWhilePaused.front());
    EXPECT_TRUE(visibleWhilePaused);
    EXPECT_EQ(speedAfterPlay, 1);
    EXPECT_TRUE(markAfterPlay);
    EXPECT_EQ(f.TextSpeed().Text(), QStringLiteral("1"));

    // While stopped, pause changes the values and nothing else.
    f.HScrollTiming().SetValue(4);
    f.mnuCtrlPause_Click();
    EXPECT_FALSE(f.mnuCtrlPause().Checked());
    EXPECT_EQ(csqc().Speed(), 1);
    EXPECT_EQ(csqc().Timing(), 0);
    f.HScrollSpeed().SetValue(50);
    f.mnuCtrlPause_Click();
    EXPECT_TRUE(f.mnuCtrlPause().Checked());
    EXPECT_EQ(f.HScrollSpeed().Value(), 0);
    EXPECT_EQ(f.TextSpeed().Text(), QStringLiteral("0"));
    EXPECT_EQ(csqc().Speed(), 0);
    EXPECT_FALSE(csqc().Fuel());
    EXPECT_EQ(csqc().Runs(), 0);
    f.mnuCtrlPause_Click();
    EXPECT_EQ(csqc().Speed(), 1);
}

TEST_F(Panel, stopHidesTheTextAndPlayStartsAgainAtSpeedOne) {
    FormMain& f = *panel;
    bool hiddenAfterStop = false;
    float startLeft = 0;
    float leftAfterPlay = -1;
    onYield = [&] {
        if (yields == 1)
            startLeft = csqc().Form()->TextVorn(0).Left();
        if (yields == 3)
            f.HScrollSpeed().SetValue(40);
        if (yields == 20) {
            f.mnuCtrlStop_Click();
            hiddenAfterStop = !csqc().Form()->TextVorn(0).Visible();
        }
    };
    csqc().Scroll(true, QStringLiteral("Some text"));
    EXPECT_TRUE(hiddenAfterStop);
    yields = 0;
    onYield = [&] {
        if (yields == 1) {
            leftAfterPlay = csqc().Form()->TextVorn(0).Left();
            f.mnuCtrlStop_Click();
        }
    };
    f.mnuCtrlPlay_Click();
    EXPECT_EQ(leftAfterPlay, startLeft);
    EXPECT_EQ(csqc().Speed(), 1);
    EXPECT_EQ(csqc().Timing(), 0);
}

// A right press shows the hidden panel without moving the strip: see the appearance tests.
TEST_F(Panel, aLeftPressOnTheStripDragsAndPullsItBackInsideTheDesktop) {
    FormMain& f = *panel;
    f.SetVisible(false);
    // The button is already up, so the move ends at once.
    strip->SetLeft(-3000);
    int16_t button = vbLeftButton;
    f.csqc_MouseDown(button);
    EXPECT_EQ(strip->Left(), 0.0f);
    EXPECT_TRUE(f.Visible());
}

TEST_F(Panel, startUpPositionPutsTheStripBackKeepingItsHeight) {
    FormMain& f = *panel;
    strip->Move(1500, 900, 4000, strip->Height());
    const float height = strip->Height();
    choose(f.mnuOptionStartUpPosition());
    const auto& flavors = *f.CtrlFlavors();
    EXPECT_EQ(strip->Left(), 0.0f);
    EXPECT_EQ(strip->Width(), static_cast<float>(flavors.DeskTopWidth()));
    EXPECT_EQ(strip->Height(), height);
    EXPECT_EQ(strip->Top(), static_cast<float>(flavors.DeskTopHeight()) - height);
    EXPECT_FALSE(f.mnuOptionStartUpPosition().Checked());
}
