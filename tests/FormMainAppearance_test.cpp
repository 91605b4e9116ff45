#include "PanelFixture.h"
#include "app/FormMain.h"
#include "toolkit/Colors.h"
#include "toolkit/Events.h"
#include "toolkit/WindowSystem.h"
#include "util/CCtrlFlavors.h"

#include <QApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace toolkit;

namespace {

// The panel with its dialogs scripted; every scripted answer must be used.
class Appearance : public PanelFixture {
protected:
    void TearDown() override {
        PanelFixture::TearDown();
        EXPECT_TRUE(reported.empty()) << reported.front().toStdString();
        EXPECT_EQ(dialogs->Pending(), 0u) << "a scripted dialog answer was not used";
    }

    float deskHeight() const { return static_cast<float>(panel->CtrlFlavors()->DeskTopHeight()); }
    // The strip's window, its frame and both boxes, as they are drawn.
    std::vector<int32_t> backColors() const {
        return {strip->BackColor(), strip->FrameVorn().BackColor(), strip->TextVorn(0).BackColor(),
                strip->TextVorn(1).BackColor()};
    }
    std::vector<int32_t> foreColors() const {
        return {strip->ForeColor(), strip->FrameVorn().ForeColor(), strip->TextVorn(0).ForeColor(),
                strip->TextVorn(1).ForeColor()};
    }
};

} // namespace

TEST_F(Appearance, largerFontGrowsTheStripAndPullsItBackInsideTheDesktop) {
    const StdFont before = strip->Font();
    const float height = strip->Height();
    ASSERT_FLOAT_EQ(strip->Top() + height, deskHeight());

    DialogFont chosen;
    chosen.Name = before.Name;
    chosen.Size = 36.0f;
    chosen.Bold = false;
    chosen.Italic = true;
    chosen.Underline = true; // not offered with flags 3, so it is not taken
    dialogs->AnswerFont(chosen);
    choose(panel->mnuOptionFont());

    // The dialog was shown with the strip's six attributes and the flags 3.
    ASSERT_EQ(dialogs->History().Fonts.size(), 1u);
    const DialogFont& shown = dialogs->History().Fonts[0];
    EXPECT_EQ(shown.Name, before.Name);
    EXPECT_FLOAT_EQ(shown.Size, before.Size);
    EXPECT_EQ(shown.Bold, before.Bold);
    EXPECT_EQ(shown.Italic, before.Italic);
    EXPECT_EQ(shown.Strikethru, before.Strikethrough);
    EXPECT_EQ(shown.Underline, before.Underline);
    EXPECT_EQ(dialogs->History().Flags.back(), cdlCFBoth);

    EXPECT_FLOAT_EQ(strip->FontSize(), 36.0f);
    EXPECT_TRUE(strip->FontItalic());
    EXPECT_FALSE(strip->FontBold());
    EXPECT_EQ(strip->FontUnderline(), before.Underline);
    for (int16_t i = 0; i < 2; ++i)
        EXPECT_EQ(strip->TextVorn(i).Font(), strip->Font());
    EXPECT_EQ(strip->FrameVorn().Font(), strip->Font());
    // One line of the larger text: more than three times as tall, and inside the desktop.
    EXPECT_GT(strip->Height(), 3.0f * height - 100.0f);
    EXPECT_FLOAT_EQ(strip->Top() + strip->Height(), deskHeight());
    EXPECT_EQ(strip->Left(), 0.0f);
}

TEST_F(Appearance, cancelledFontChangesNothingButStillPullsTheStripInside) {
    strip->SetFontUnderline(true);
    panel->Controller()->Refresh();
    const StdFont before = strip->Font();
    const float height = strip->Height();
    strip->SetTop(deskHeight() - height + 300.0f); // partly below the desktop
    dialogs->CancelFont();
    choose(panel->mnuOptionFont());
    EXPECT_EQ(strip->Font(), before);
    EXPECT_EQ(strip->TextVorn(0).Font(), before);
    EXPECT_FLOAT_EQ(strip->Height(), height);
    EXPECT_FLOAT_EQ(strip->Top(), deskHeight() - height);
    EXPECT_EQ(dialogs->History().Fonts.size(), 1u);
}

TEST_F(Appearance, coloursReachFrameAndBothBoxesWhileScrollingWithoutRestartingTheText) {
    const int32_t red = RGB(255, 0, 0);
    const int32_t black = RGB(0, 0, 0);
    // The colour dialogs open with the strip's colour; before the Font dialog
    // has been used they carry the component's first flags.
    dialogs->AnswerColor(red);
    dialogs->AnswerColor(black);
    const int32_t foreBefore = strip->ForeColor();
    const int32_t backBefore = strip->BackColor();

    QString text;
    for (int i = 0; i < 50; ++i)
        text += QStringLiteral("segment text %1 ").arg(i);
    CSQCtrl& csqc = *panel->Controller();
    float leftAtChange = 0;
    int32_t indexAtChange = -1;
    std::vector<float> lefts;
    int steps = 0;
    onYield = [&] {
        ++steps;
        if (steps == 40) {
            indexAtChange = csqc.SegmentIndex();
            leftAtChange = strip->TextVorn(0).Left();
            panel->mnuOptionFontColor_Click();
            panel->mnuOptionBackColor_Click();
            lefts.push_back(strip->TextVorn(0).Left());
        } else if (steps == 41) {
            lefts.push_back(strip->TextVorn(0).Left());
            EXPECT_EQ(csqc.SegmentIndex(), indexAtChange);
            csqc.Scroll(false, QString());
        }
    };
    csqc.Scroll(true, text);
    ASSERT_EQ(lefts.size(), 2u);
    EXPECT_FLOAT_EQ(lefts[0], leftAtChange);
    EXPECT_FLOAT_EQ(lefts[1], leftAtChange - csqc.Speed());
    EXPECT_LT(leftAtChange, strip->FrameVorn().Width() - 30.0f) << "the text had not moved";

    EXPECT_EQ(foreColors(), std::vector<int32_t>(4, red));
    EXPECT_EQ(backColors(), std::vector<int32_t>(4, black));
    const auto& seen = dialogs->History();
    ASSERT_EQ(seen.Colors.size(), 2u);
    EXPECT_EQ(seen.Colors[0], foreBefore);
    EXPECT_EQ(seen.Colors[1], backBefore);
    EXPECT_EQ(seen.Flags[0], 0);

    // After the Font dialog the colour dialogs carry its flags 3.
    dialogs->CancelFont();
    dialogs->CancelColor();
    dialogs->CancelColor();
    choose(panel->mnuOptionFont());
    choose(panel->mnuOptionFontColor());
    choose(panel->mnuOptionBackColor());
    EXPECT_EQ(seen.Flags.back(), cdlCFBoth);
    EXPECT_EQ(seen.Colors.back(), black);
    // Cancelled: nothing changed.
    EXPECT_EQ(foreColors(), std::vector<int32_t>(4, red));
    EXPECT_EQ(backColors(), std::vector<int32_t>(4, black));
}

TEST_F(Appearance, zOrderTwiceMakesTheStripTopMostThenOrdinaryAgain) {
    MenuItem& item = panel->mnuOptionZOrder();
    ASSERT_FALSE(item.Checked());
    ASSERT_FALSE(IsTopMost(strip->hwnd()));
    choose(item);
    EXPECT_TRUE(item.Checked());
    EXPECT_TRUE(IsTopMost(strip->hwnd()));
    EXPECT_TRUE(strip->NativeWidget()->isVisible());
    choose(item);
    EXPECT_FALSE(item.Checked());
    EXPECT_FALSE(IsTopMost(strip->hwnd()));
    EXPECT_TRUE(strip->NativeWidget()->isVisible());
    EXPECT_FALSE(IsTopMost(panel->hwnd()));
}

TEST_F(Appearance, hiddenMenuComesBackAtARightPressWithoutMovingTheStrip) {
    choose(panel->mnuOptionPanel()); // expanded, to see that it stays so
    const float panelHeight = panel->Height();
    choose(panel->mnuOptionHideMenu());
    EXPECT_FALSE(panel->Visible());
    EXPECT_FALSE(panel->NativeWidget()->isVisible());
    EXPECT_TRUE(strip->NativeWidget()->isVisible());

    const float left = strip->Left(), top = strip->Top();
    QWidget* client = strip->ClientWidget();
    QTest::mousePress(client, Qt::RightButton, {}, QPoint(4, 4));
    QTest::mouseRelease(client, Qt::RightButton, {}, QPoint(4, 4));
    drain();
    EXPECT_TRUE(panel->Visible());
    EXPECT_TRUE(panel->NativeWidget()->isVisible());
    EXPECT_EQ(strip->Left(), left);
    EXPECT_EQ(strip->Top(), top);
    EXPECT_FLOAT_EQ(panel->Height(), panelHeight);
    EXPECT_TRUE(panel->mnuOptionPanel().Checked());
}

TEST_F(Appearance, hideVornTakesBothWindowsAwayWhileTheTextMovesOnAndRestoringBringsBoth) {
    CSQCtrl& csqc = *panel->Controller();
    int steps = 0;
    float leftAtHide = 0;
    bool hiddenWhileRunning = false;
    onYield = [&] {
        ++steps;
        if (steps == 10) {
            panel->mnuOptionHideVorn_Click();
            leftAtHide = strip->TextVorn(0).Left();
        } else if (steps == 30) {
            // A minimised window is still "visible" to Qt; its state tells.
            hiddenWhileRunning = !strip->NativeWidget()->isVisible() &&
                                 panel->NativeWidget()->isMinimized() && csqc.Fuel();
            EXPECT_LT(strip->TextVorn(0).Left(), leftAtHide) << "the text stood still";
            csqc.Scroll(false, QString());
        }
    };
    csqc.Scroll(true, QStringLiteral("text that keeps moving"));
    EXPECT_TRUE(hiddenWhileRunning);
    EXPECT_EQ(panel->WindowState(), vbMinimized);
    EXPECT_TRUE(strip->Visible());
    EXPECT_EQ(FormMain::LoadedPanels().size(), 1u);

    panel->SetWindowState(vbNormal);
    drain();
    EXPECT_TRUE(panel->NativeWidget()->isVisible());
    EXPECT_TRUE(strip->NativeWidget()->isVisible());
    EXPECT_EQ(strip->WindowState(), vbNormal);
}

TEST_F(Appearance, aboutShowsTheReportAsThreeLinesModallyOverThePanel) {
    QPointer<QWidget> seen;
    bool appeared = false;
    std::vector<QString> lines;
    bool webEnabled = false;
    bool overPanel = false;
    // Looks at the dialog once it is up, then presses Enter on it.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || seen)
            return;
        seen = modal;
        appeared = true;
        look.stop();
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("About..."));
        overPanel =
            modal->windowHandle()->transientParent() == panel->NativeWidget()->windowHandle();
        if (auto* report = modal->findChild<QPlainTextEdit*>()) {
            for (QTextBlock b = report->document()->begin(); b.isValid(); b = b.next())
                lines.push_back(b.text());
        }
        for (QPushButton* b : modal->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Web"))
                webEnabled = b->isEnabled();
        // Modal for the whole application: the panel takes no input meanwhile.
        EXPECT_EQ(modal->windowModality(), Qt::ApplicationModal);
        // Keys reach the window that is active, not the one that is merely modal.
        EXPECT_TRUE(QTest::qWaitFor([modal] { return modal->isVisible(); }, 2000));
        modal->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }, 2000));
        QTest::keyClick(modal, Qt::Key_Return);
    });
    look.start(5);
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the About dialog did not close";
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    safety.start(10000);
    choose(panel->mnuAboutMe());
    ASSERT_TRUE(appeared) << "no modal dialog";
    for (int i = 0; i < 100 && seen; ++i) {
        drain();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(overPanel);
    EXPECT_EQ(lines, (std::vector<QString>{QStringLiteral("This Software Distributed By "),
                                           QString(), QStringLiteral("Kestrix")}));
    EXPECT_TRUE(webEnabled);
    EXPECT_TRUE(shell->requests.empty());
    // Closed and released with its wrapper.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(seen.isNull());
}
