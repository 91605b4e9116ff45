#include "CleanupSteps.h"
#include "app/ModuleMain.h"

#include "support/Overrides.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

using ModuleMain::ReplaceNewLine;
using ModuleMain::StripEnclosed;

namespace {

using cleanup_steps::ReplaceNewLineSteps;
using cleanup_steps::StripEnclosedSteps;

QString stripped(QString text, const QString& open = QStringLiteral("<"),
                 const QString& close = QStringLiteral(">")) {
    StripEnclosed(text, open, close);
    return text;
}

QString clean(QString text) {
    ReplaceNewLine(text, QStringLiteral(" "));
    StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    return text;
}

// Random texts over few characters, most of them delimiters and line breaks, with surrogate
// pairs (U+1F600) and a lone high surrogate.
QString randomText(std::mt19937& rng, int maxLength) {
    static const char16_t* const pieces[] = {u"<", u"<", u">", u">", u"\r", u"\n", u"\r\n",
                                             u"a", u"b", u" ", u"!", u"-", u"\U0001F600",
                                             u"\xD83D"};
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> piece(0, std::size(pieces) - 1);
    QString text;
    for (int n = length(rng); n > 0; --n)
        text += QString::fromUtf16(pieces[piece(rng)]);
    return text;
}

// ---- Examples ---------------------------------------------------------------------------

TEST(TextCleanupTest, StripEnclosedExamples) {
    EXPECT_EQ(stripped(QStringLiteral("x<b>y</b>z")), QStringLiteral("xyz"));
    EXPECT_EQ(stripped(QStringLiteral("a>b<c>d")), QStringLiteral("a>bd"));
    EXPECT_EQ(stripped(QStringLiteral("1 < 2 and 3 > 2")), QStringLiteral("1  2"));
    EXPECT_EQ(stripped(QStringLiteral("<a<b>c>")), QStringLiteral("c>"));
    EXPECT_EQ(stripped(QStringLiteral("<a> x < y <b>")), QStringLiteral(" x "));
    EXPECT_EQ(stripped(QStringLiteral("see <here")), QStringLiteral("see <here"));
    EXPECT_EQ(stripped(QStringLiteral("a < b")), QStringLiteral("a < b"));
    EXPECT_EQ(stripped(QStringLiteral("a < b > c")), QStringLiteral("a  c"));
    EXPECT_EQ(stripped(QStringLiteral("<only><tags/>")), QString());
    EXPECT_EQ(stripped(QString()), QString());
    EXPECT_EQ(stripped(QStringLiteral("<>")), QString());
    EXPECT_EQ(stripped(QStringLiteral("x<")), QStringLiteral("x<"));
    // The same character opening and closing: pairs are cut in turn.
    EXPECT_EQ(stripped(QStringLiteral("a'b'c'd"), QStringLiteral("'"), QStringLiteral("'")),
              QStringLiteral("ac'd"));
}

TEST(TextCleanupTest, LongerDelimitersKeepTheRestOfTheClosingOne) {
    // Only the first character of the closing delimiter goes with the span.
    EXPECT_EQ(stripped(QStringLiteral("a<!--x-->b"), QStringLiteral("<!--"), QStringLiteral("-->")),
              QStringLiteral("a->b"));
    // The closing search starts inside the opening delimiter.
    EXPECT_EQ(stripped(QStringLiteral("x<<y"), QStringLiteral("<<"), QStringLiteral("<")),
              QStringLiteral("xy"));
    // A cut joins two halves of an opening delimiter, which is then cut as well.
    EXPECT_EQ(stripped(QStringLiteral("aab>b>c"), QStringLiteral("ab"), QStringLiteral(">")),
              QStringLiteral("c"));
    EXPECT_EQ(stripped(QStringLiteral("keep"), QString(), QStringLiteral(">")), QStringLiteral("keep"));
    EXPECT_EQ(stripped(QStringLiteral("<keep>"), QStringLiteral("<"), QString()), QStringLiteral("<keep>"));
}

TEST(TextCleanupTest, ReplaceNewLinePrefersPairsThenLineFeedsThenCarriageReturns) {
    struct Case {
        const char* text;
        const char* replacement;
        bool replaced;
        const char* result;
    };
    const Case cases[] = {
        {"a\r\nb\nc", " ", true, "a b\nc"},
        {"a\rb\r\n\rc\n", " ", true, "a\rb \rc\n"},
        {"a\nb\rc\n\n", " ", true, "a b\rc  "},
        {"\ra\rb\r", " ", true, " a b "},
        {"\n\r", "_", true, "_\r"}, // a line feed before a carriage return is no pair
        {"no break", " ", false, "no break"},
        // Replacements longer than the break, and none at all.
        {"a\r\nb\r\n", "<br>", true, "a<br>b<br>"},
        {"a\nb\n", "", true, "ab"},
    };
    for (const Case& c : cases) {
        QString text = QString::fromLatin1(c.text);
        SCOPED_TRACE(qPrintable(text.toHtmlEscaped()));
        EXPECT_EQ(ReplaceNewLine(text, QString::fromLatin1(c.replacement)), c.replaced);
        EXPECT_EQ(text, QString::fromLatin1(c.result));
    }
}

// ---- The linear pass against the steps -------------------------------------------------------

TEST(TextCleanupTest, MatchesTheStepsOnRandomTexts) {
    std::mt19937 rng(20261207);
    for (int i = 0; i < 20000; ++i) {
        const QString text = randomText(rng, i % 10 == 0 ? 400 : 40);
        QString expected = text;
        QString actual = text;
        EXPECT_EQ(ReplaceNewLine(actual, QStringLiteral(" ")), ReplaceNewLineSteps(expected, QStringLiteral(" ")));
        ASSERT_EQ(actual, expected) << "ReplaceNewLine on " << qPrintable(text.toHtmlEscaped());
        StripEnclosedSteps(expected, QStringLiteral("<"), QStringLiteral(">"));
        StripEnclosed(actual, QStringLiteral("<"), QStringLiteral(">"));
        ASSERT_EQ(actual, expected) << "StripEnclosed on " << qPrintable(text.toHtmlEscaped());
    }
}

// ---- Events during a long cleanup ------------------------------------------------------------

class CleanupYieldTest : public ::testing::Test {
protected:
    testsupport::ScopedWorkYieldInterval everyRead{std::chrono::nanoseconds::zero()};
};

TEST_F(CleanupYieldTest, PendingEventsRunDuringALongCleanAndItStillFinishes) {
    QString text = QStringLiteral("w<tag attr=\"1\">\r\n").repeated(50000);
    const QString expected = QStringLiteral("w ").repeated(50000);

    // A handler that runs while the cleanup works cleans a text of its own, as a second load
    // would, inside the first one's pass.
    int ran = 0;
    QString inner;
    QTimer::singleShot(0, [&] {
        ++ran;
        inner = clean(QStringLiteral("<i>inner</i>\r\n").repeated(20000));
    });
    text = clean(text);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(inner, QStringLiteral("inner ").repeated(20000));
    EXPECT_EQ(text, expected);
}

TEST_F(CleanupYieldTest, PassesComeEveryFewThousandCharactersOfWork) {
    // No tag and no break at all: the searches alone must still let events in.
    QString text(3'000'000, QLatin1Char('x'));
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    EXPECT_FALSE(ReplaceNewLine(text, QStringLiteral(" ")));
    EXPECT_EQ(ran, 1);
    QTimer::singleShot(0, [&] { ++ran; });
    StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(text.size(), 3'000'000);
}

} // namespace
