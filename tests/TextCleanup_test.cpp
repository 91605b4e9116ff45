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

// Cuts and line breaks on arbitrary texts, with any delimiters and replacements, are compared
// with the step-by-step procedures by the cleanup fuzz target; here are a few plain cases, and
// the empty delimiters that it cannot give.
TEST(TextCleanupTest, StripEnclosedCutsFromEachOpeningToTheFirstCharacterOfTheNextClosing) {
    const struct {
        const char* text;
        const char* open;
        const char* close;
        const char* result;
    } cases[] = {
        {"x<b>y</b>z", "<", ">", "xyz"}, {"<a<b>c>", "<", ">", "c>"}, {"see <here", "<", ">", "see <here"},
        {"keep", "", ">", "keep"}, {"<keep>", "<", "", "<keep>"},
    };
    for (const auto& c : cases) {
        QString text = QString::fromLatin1(c.text);
        StripEnclosed(text, QString::fromLatin1(c.open), QString::fromLatin1(c.close));
        EXPECT_EQ(text, QString::fromLatin1(c.result)) << c.text << " " << c.open << c.close;
    }
}

// A handler that runs while the cleanup works cleans a text of its own, as a second load
// would, inside the first one's pass; and a text without any tag or break, where the searches
// alone must let events in.
TEST(TextCleanupTest, PendingEventsRunDuringALongCleanAndItStillFinishes) {
    const testsupport::ScopedWorkYieldInterval everyRead{std::chrono::nanoseconds::zero()};
    int ran = 0;
    QString inner;
    QTimer::singleShot(0, [&] {
        ++ran;
        inner = clean(QStringLiteral("<i>inner</i>\r\n").repeated(20000));
    });
    EXPECT_EQ(clean(QStringLiteral("w<tag attr=\"1\">\r\n").repeated(50000)), QStringLiteral("w ").repeated(50000));
    EXPECT_EQ(std::tuple(ran, inner), std::tuple(1, QStringLiteral("inner ").repeated(20000)));

    QString text(3'000'000, QLatin1Char('x'));
    QTimer::singleShot(0, [&] { ++ran; });
    EXPECT_FALSE(ReplaceNewLine(text, QStringLiteral(" ")));
    EXPECT_EQ(ran, 2) << "ReplaceNewLine";
    QTimer::singleShot(0, [&] { ++ran; });
    StripEnclosed(text, QStringLiteral("<"), QStringLiteral(">"));
    EXPECT_EQ(std::tuple(ran, text.size()), std::tuple(3, 3'000'000)) << "StripEnclosed";
}

} // namespace
