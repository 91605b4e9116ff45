#include "ErrorOf.h"
#include "PanelFixture.h"
#include "TempFolder.h"
#include "support/ScriptedHttpFetch.h"

#include <QFile>

using namespace toolkit;

namespace {

// The panel with its dialogs and fetch scripted, and a yield hook that notes what the strip
// scrolls once a load has handed its text over, then stops the scroll so that the command
// returns.
class TextSources : public PanelFixture {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        onYield = [this] {
            if (csqc().Fuel()) {
                scrolled.push_back(csqc().Segments().join(QString()));
                csqc().Scroll(false, QString());
            }
        };
    }

    TempFolder tmp;
    testsupport::InstalledHttpFetch fetches;
    std::vector<QString> scrolled;
};

// ---- Local(&L)... and Local Reload(&R) -------------------------------------------------------

TEST_F(TextSources, ALoadCleansAndScrollsACancelReadsThatFileAgainAndABinaryOneIsOnlyReported) {
    const QString path = tmp.write("hello.txt", "Hello\r\n<b>World</b>\nx");
    const QString binary = tmp.write("binary.dat", "ab\032cd");
    // Nothing chosen yet: a cancel opens nothing, or a second message would show.
    dialogs->CancelOpen();
    choose(panel->mnuFileLocal());
    dialogs->AnswerOpen(binary);
    choose(panel->mnuFileLocal());
    ASSERT_EQ(prompts->shown.size(), 1u);
    EXPECT_EQ(prompts->shown[0].prompt,
              QString::fromUtf16(u"ファイルがバイナリか、破損しています。"));
    // The reload is enabled only by a read that succeeds.
    EXPECT_EQ(std::tuple(panel->mnuFileLocalReload().Enabled(), scrolled.size()),
              std::tuple(false, 0u));

    // Named as the command line names it. The file changes; the dialog proposes that name, and
    // cancelled, reads it afresh.
    panel->OpenLocalFile(path);
    tmp.write("hello.txt", "Second\nversion");
    dialogs->CancelOpen();
    choose(panel->mnuFileLocal());
    tmp.write("hello.txt", "Third");
    choose(panel->mnuFileLocalReload());
    // CR LF pairs first, and the lone LF stays.
    EXPECT_EQ(scrolled,
              (std::vector<QString>{QStringLiteral("Hello World\nx"),
                                    QStringLiteral("Second version"), QStringLiteral("Third")}));
    const QStringList segments = csqc().Segments();

    // A failed read now: the message, the reload item stays enabled, the text stays.
    dialogs->AnswerOpen(binary);
    choose(panel->mnuFileLocal());
    EXPECT_EQ(std::tuple(prompts->shown.size(), panel->mnuFileLocalReload().Enabled(),
                         scrolled.size(), csqc().Segments()),
              std::tuple(2u, true, 3u, segments));

    // The next dialog proposes the binary file's name; cancelled, it fails on that file again.
    dialogs->CancelOpen();
    choose(panel->mnuFileLocal());

    // The reload reads the failing file without a word and hands over its empty text: the
    // current text restarts from its beginning.
    choose(panel->mnuFileLocalReload());
    EXPECT_EQ(std::tuple(prompts->shown.size(), scrolled.size(), scrolled.back(), reported.size()),
              std::tuple(3u, 4u, QStringLiteral("Third"), 0u));
}

// ---- Web(&W)... and Web Reload(&R) -----------------------------------------------------------

TEST_F(TextSources, WebProposesTheLastAddressAndCleansThePage) {
    prompts->AnswerInputBox(QStringLiteral("http://example.test/a"));
    fetches->Reply(QStringLiteral("<html>\r\n<title>T</title>\r\nOne\r\nTwo</html>"));
    choose(panel->mnuFileWeb());
    fetches->Reply(QStringLiteral("again"));
    choose(panel->mnuFileWebReload());
    // A page: its title is not text.
    EXPECT_EQ(scrolled, (std::vector<QString>{QStringLiteral("One Two"), QStringLiteral("again")}));
    EXPECT_EQ(fetches->addresses, std::vector<QString>(2, QStringLiteral("http://example.test/a")));
    EXPECT_EQ(fetches->timeouts, std::vector<std::chrono::milliseconds>(2, std::chrono::seconds(60)));

    ASSERT_EQ(prompts->shown.size(), 1u) << "the reload asked again";
    EXPECT_EQ(std::tuple(prompts->shown[0].prompt, prompts->shown[0].initial),
              std::tuple(QStringLiteral("URL ?"), QString()));
}

// A failure is reported, the user's cancel is not; both keep the new address and nothing else.
TEST_F(TextSources, AFailedOrCancelledFetchKeepsTheNewAddressButNothingElse) {
    panel->OpenLocalFile(tmp.write("a.txt", "on display"));
    const QStringList segments = csqc().Segments();

    const QString refused =
        QStringLiteral("Could not fetch http://127.0.0.1:9/x: the server refused the connection.");
    for (const auto& [address, failure] : {std::pair{"http://127.0.0.1:9/x", FetchFailure::Refused},
                                           {"http://127.0.0.1:9/slow", FetchFailure::Cancelled}}) {
        SCOPED_TRACE(address);
        prompts->AnswerInputBox(QString::fromLatin1(address));
        fetches->Fail(failure, QStringLiteral("the server refused the connection"));
        choose(panel->mnuFileWeb());
        EXPECT_EQ(reported, std::vector<QString>{refused}); // the cancel adds nothing
        EXPECT_TRUE(prompts->shown.back().input) << "a message box after the address";
        EXPECT_EQ(std::tuple(panel->mnuFileWebReload().Enabled(), scrolled.size(), csqc().Segments()),
                  std::tuple(false, 1u, segments));

        // The address typed is kept all the same: the next box proposes it.
        prompts->AnswerInputBox(QString());
        choose(panel->mnuFileWeb());
        EXPECT_EQ(prompts->shown.back().initial, QString::fromLatin1(address));
        EXPECT_TRUE(panel->Loaded());
    }
}

// ---- The reload schedule ---------------------------------------------------------------------

// A changed page taking over on a real screen: the e2e scenario.
TEST_F(TextSources, AnUnchangedReloadChangesNothingAChangedOneWaitsForThePassAndAFailureIsOneLineOnStandardError) {
    panel->HScrollSpeed().SetValue(100);
    // Cleaned as a load cleans it, or it would not be the same.
    const QString path = tmp.write("news.txt", "same\r\nnews");
    onYield = [&] {
        if (yields == 5) {
            const float leftBefore = strip->TextVorn(0).Left();
            panel->ReloadNow(); // unchanged
            EXPECT_TRUE(csqc().Queued().isEmpty());
            tmp.write("news.txt", "second news");
            panel->ReloadNow(); // changed: it waits for the pass on display to end
            EXPECT_EQ(std::tuple(csqc().Queued(), csqc().Segments().join(QString()), strip->TextVorn(0).Left()),
                      std::tuple(QStringLiteral("second news"), QStringLiteral("same news"), leftBefore));
            QFile::remove(path);
            panel->ReloadNow(); // failed
        } else if (yields > 5 && csqc().Queued().isEmpty()) {
            // Taken over where a pass starts, at the right edge.
            EXPECT_EQ(strip->TextVorn(0).Left(), strip->FrameVorn().Width());
            csqc().Scroll(false, QString());
        }
    };
    testing::internal::CaptureStderr();
    panel->OpenLocalFile(path);
    EXPECT_EQ(csqc().Segments().join(QString()), QStringLiteral("second news"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vorn2: scheduled reload: Could not read " +
                                                          path.toStdString() +
                                                          ": it is missing, binary or damaged.\n");
    EXPECT_EQ(std::tuple(prompts->shown.size(), reported.size()), std::tuple(0u, 0u));
}

TEST_F(TextSources, AWebReloadAfterAFailedFirstFetchStartsTheTextAndFailuresStayQuiet) {
    const QString address = QStringLiteral("http://example.test/feed");
    fetches->Fail(FetchFailure::Refused, QStringLiteral("the server refused the connection"));
    EXPECT_THROW(panel->OpenWebAddress(address), FetchError);
    // The next turn fails as well: written, not shown.
    fetches->Fail(FetchFailure::Refused, QStringLiteral("the server refused the connection"));
    testing::internal::CaptureStderr();
    panel->ReloadNow();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vorn2: scheduled reload: Could not fetch http://example.test/feed: the server "
              "refused the connection.\n");
    // Then the server answers: nothing was shown yet, so the feed starts at once.
    fetches->Reply(QStringLiteral("<rss><channel><title>Feed</title><item><title>One</title>"
                                  "</item></channel></rss>"));
    panel->ReloadNow();
    EXPECT_EQ(scrolled, std::vector<QString>{QStringLiteral("Feed \u25c6 One")});
    EXPECT_EQ(fetches->addresses, std::vector<QString>(3, address));
    EXPECT_EQ(std::tuple(prompts->shown.size(), reported.size()), std::tuple(0u, 0u));
}

// A turn while the Web command waits for its page is left out; one that ran would fetch inside
// that wait, or start its text there and hold the command up. A load while a turn waits for its
// page wins: the turn's text is dropped. Only whole minutes from 1 to 1440 make a schedule; 0
// ends it.
TEST_F(TextSources, ATurnInTheWebCommandIsLeftOutALoadOrUnloadInAFetchWinsAndMinutesAreBounded) {
    fetches->On([this](const QString&) {
        panel->ReloadNow();
        return QStringLiteral("start");
    });
    panel->OpenWebAddress(QStringLiteral("http://example.test/a"));
    fetches->On([this](const QString&) {
        panel->OpenLocalFile(tmp.write("user.txt", "user text"));
        return QStringLiteral("from the turn");
    });
    panel->ReloadNow();
    EXPECT_EQ(std::tuple(fetches->addresses.size(), csqc().Segments().join(QString()), csqc().Queued()),
              std::tuple(2u, QStringLiteral("user text"), QString()));

    for (const auto& [minutes, error, taken] : {std::tuple{1441, 380, 0}, std::tuple{-1, 380, 0},
                                                std::tuple{1440, 0, 1440}, std::tuple{0, 0, 0}}) {
        EXPECT_EQ(errorOf([&] { panel->SetReloadMinutes(minutes); }), error) << minutes;
        EXPECT_EQ(panel->ReloadMinutes(), taken) << minutes;
    }

    // A panel unloaded while Web Reload waits for its page starts nothing.
    fetches->On([this](const QString&) {
        panel->UnloadWithoutQuery();
        return QStringLiteral("late");
    });
    choose(panel->mnuFileWebReload());
    EXPECT_EQ(scrolled,
              (std::vector<QString>{QStringLiteral("start"), QStringLiteral("user text")}));
    EXPECT_TRUE(reported.empty());
}

} // namespace
