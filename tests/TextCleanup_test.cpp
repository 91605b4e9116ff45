#include "app/ModuleMain.h"

#include "support/Overrides.h"

#include <QTimer>

#include <gtest/gtest.h>

using ModuleMain::ReplaceNewLine;
using ModuleMain::StripEnclosed;

namespace {

QString clean(QString text) {
    ReplaceNewLine(text, QStringLiteral(" "));
    StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    return text;
}

// Line breaks of the first kind found become the replacement, then each opening delimiter is
// cut with what follows it up to the first character of the next closing one, searching again
// from the start after each cut.
TEST(TextCleanupTest, LineBreaksThenEnclosedSpansAreCutLettingPendingEventsRun) {
    const struct {
        const char* text;
        const char* replace;
        const char* open;
        const char* close;
        const char* result;
    } cases[] = {
        {"x<b>y</b>z", " ", "<", ">", "xyz"},
        {"<a<b>c>", " ", "<", ">", "c>"},
        {"see <here", " ", "<", ">", "see <here"},
        {"keep", " ", "", ">", "keep"},
        {"<keep>", " ", "<", "", "<keep>"},
        {"a\r\nb\nc\rd", " ", "<", ">", "a b\nc\rd"},
        {"a\nb\rc\n", " ", "<", ">", "a b\rc "},
        {"a\rb\r", " ", "<", ">", "a b "},
        {"a\r\n<b\r\n>c\r", "", "<", ">", "ac\r"},
        {"one\ntwo", "--", "<", ">", "one--two"},
        {"<xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx>y", " ", "<", ">", "y"},
        {"||x|y", " ", "|", "|", "x|y"},
        // Longer delimiters: the closing one is looked for from the character after the opening.
        {"a<!--x-->b<!--", " ", "<!--", "-->", "a->b<!--"},
        {"aax", " ", "aa", "aa", "aax"},
        {"xabay", " ", "ab", "ba", "xay"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QString text = QString::fromLatin1(c.text);
        ReplaceNewLine(text, QString::fromLatin1(c.replace));
        StripEnclosed(text, QString::fromLatin1(c.open), QString::fromLatin1(c.close));
        EXPECT_EQ(text, QString::fromLatin1(c.result));
    }

    // A handler that runs while the cleanup works cleans a text of its own, as a second load
    // would, inside the first one's pass; and a text without any tag or break, where the
    // searches alone must let events in.
    const testsupport::ScopedWorkYieldInterval everyRead{std::chrono::nanoseconds::zero()};
    QString inner;
    QTimer::singleShot(0,
                       [&] { inner = clean(QStringLiteral("<i>inner</i>\r\n").repeated(20000)); });
    EXPECT_EQ(clean(QStringLiteral("w<tag attr=\"1\">\r\n").repeated(50000)), QStringLiteral("w ").repeated(50000));
    EXPECT_EQ(inner, QStringLiteral("inner ").repeated(20000));

    int ran = 0;
    QString text(3'000'000, QLatin1Char('x'));
    QTimer::singleShot(0, [&] { ++ran; });
    EXPECT_FALSE(ReplaceNewLine(text, QStringLiteral(" ")));
    EXPECT_EQ(ran, 1) << "ReplaceNewLine";
    QTimer::singleShot(0, [&] { ++ran; });
    StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    EXPECT_EQ(std::tuple(ran, text.size()), std::tuple(2, 3'000'000)) << "StripEnclosed";
}

} // namespace
