#include "XProbe.h"
#include "app/FormMain.h"
#include "app/ModuleMain.h"
#include "support/ScriptedCommonDialog.h"
#include "toolkit/Colors.h"
#include "toolkit/Events.h"
#include "toolkit/Lifecycle.h"
#include "toolkit/Startup.h"
#include "toolkit/WindowSystem.h"
#include "util/CCtrlFlavors.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>

// The control panel's font and colour options on a real X server with
// openbox, the dialogs answered by a script: what the screen then shows is
// read back from the X server. The script run_e2e.sh starts the server.

namespace {

using namespace xprobe;

// The screen's pixels in the rectangle, as the X server holds them.
QImage grab(const QRect& r, const QString& file) {
    run(QStringLiteral("import"),
        {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
         QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()),
         QStringLiteral("+repage"), file});
    return QImage(file);
}

} // namespace

TEST(AppearanceOnX, largeRedOnBlackStripStaysOnTheDesktopAndIsDrawnInItsColours) {
    const QString reason = unavailableReason();
    if (!reason.isEmpty())
        GTEST_SKIP() << "no X server for the end-to-end test: " << reason.toStdString();

    const testsupport::ScopedEndHook stayUp{[] {}};
    const testsupport::InstalledCommonDialogs dialogs;
    ModuleMain::Main();
    ASSERT_EQ(FormMain::LoadedPanels().size(), 1u);
    const std::shared_ptr<FormMain> panel = FormMain::LoadedPanels().front();
    const std::shared_ptr<FormSQMain> strip = panel->Controller()->Form();
    ASSERT_TRUE(waitUntil([&] { return toolkit::NativeWindowId(strip->hwnd()) != 0; }));
    const uint64_t id = toolkit::NativeWindowId(strip->hwnd());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_TRUE(waitUntil([&] {
        const QRect r = onScreen(id);
        return r.width() == screen.width() && r.bottom() == screen.bottom();
    })) << "the strip did not reach its place";
    const int heightBefore = onScreen(id).height();

    toolkit::DialogFont font;
    font.Name = strip->FontName();
    font.Size = 36.0f;
    font.Bold = true;
    dialogs->AnswerFont(font);
    dialogs->AnswerColor(toolkit::RGB(255, 0, 0));
    dialogs->AnswerColor(toolkit::RGB(0, 0, 0));
    panel->mnuOptionFont_Click();
    panel->mnuOptionFontColor_Click();
    panel->mnuOptionBackColor_Click();

    // Taller, and pulled up so that its bottom edge is the screen's.
    QRect r;
    ASSERT_TRUE(waitUntil([&] {
        r = onScreen(id);
        return r.height() > 2 * heightBefore && r.bottom() == screen.bottom() && r.x() == 0;
    })) << "the strip is at " << shown(r);

    // Let the text in, quickly, then look at the screen.
    panel->HScrollSpeed().SetValue(30);
    int steps = 0;
    QImage shot;
    QTemporaryDir dir;
    const QString out = qEnvironmentVariableIsEmpty("VORN_SCREENSHOT_DIR")
                            ? dir.filePath(QStringLiteral("strip.png"))
                            : QDir(qEnvironmentVariable("VORN_SCREENSHOT_DIR"))
                                  .filePath(QStringLiteral("strip.png"));
    int red = 0, black = 0, other = 0;
    std::optional<testsupport::ScopedYieldHook> look;
    look.emplace([&] {
        if (++steps % 500 != 0)
            return;
        // The text enters from the right; wait until it covers a good part of the strip.
        shot = grab(onScreen(id), out);
        red = black = other = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                    ++red;
                else if (c.red() < 40 && c.green() < 40 && c.blue() < 40)
                    ++black;
                else
                    ++other;
            }
        }
        if (red > 12000 || steps > 20000)
            panel->Controller()->Scroll(false, QString());
    });
    panel->Controller()->Scroll(
        true, QStringLiteral("vorn2 — RED ON BLACK, 36 points bold. 赤い文字が黒い帯を流れる。 "
                             "The strip keeps one line of the text."));
    look.reset();
    ASSERT_FALSE(shot.isNull());
    const int all = shot.width() * shot.height();
    std::cout << "strip " << r.width() << "x" << r.height() << " at " << r.x() << "," << r.y()
              << "; pixels red " << red << ", black " << black << ", other " << other << "\n";
    EXPECT_GT(red, 12000) << "little red text on the strip";
    EXPECT_GT(black, all / 2) << "the background is not black";
    // Anti-aliased edges only: nothing of the old orange or grey is left.
    EXPECT_LT(other, all / 5);

    panel->UnloadWithoutQuery();
}

// Fonts are substituted as the application does.
int main(int argc, char** argv) {
    return RunOnDisplay(argc, argv, [] { toolkit::InitApplication(); });
}
