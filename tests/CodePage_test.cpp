#include "toolkit/CodePage.h"

#include "support/Overrides.h"
#include "toolkit/Error.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace toolkit;

namespace {

const QByteArray kShiftJis("\x82\xa0\x5c\x00\r\n\x87\x40", 8); // あ \ NUL CR LF ①
const QString kShiftJisText = QString::fromUtf16(u"\u3042\\\0\r\n\u2460", 6);

TEST(CodePageTest, CAndPosixLocalesMeanUtf8) {
    const QByteArray saved = qgetenv("LC_ALL");
    for (const char* locale : {"C", "POSIX", "C.UTF-8", "no_SUCH.locale"}) {
        qputenv("LC_ALL", locale);
        EXPECT_EQ(SystemCodePageName(), QByteArray("UTF-8")) << locale;
    }
    qputenv("LC_ALL", saved);
    EXPECT_EQ(DecodeCodePage(kShiftJis, "ANSI_X3.4-1968"), kShiftJisText); // as in UTF-8
}

TEST(CodePageTest, ShiftJisLocaleRoundTripsAndRefusesWhatItCannotHold) {
    EXPECT_EQ(DecodeCodePage(kShiftJis, "SHIFT_JIS"), kShiftJisText);
    EXPECT_EQ(EncodeCodePage(kShiftJisText, "SHIFT_JIS"), kShiftJis);
    EXPECT_THROW(EncodeCodePage(QStringLiteral("\u00e9"), "SHIFT_JIS"), Error);
}

TEST(CodePageTest, AnUnknownCharsetNameIsReadAndWrittenAsUtf8) {
    EXPECT_EQ(DecodeCodePage(kShiftJis, "X-NO-SUCH-CHARSET"), kShiftJisText);
    EXPECT_EQ(DecodeCodePage("\xc3\xa9", "X-NO-SUCH-CHARSET"), QStringLiteral("\u00e9"));
    EXPECT_EQ(EncodeCodePage(QStringLiteral("\u00e9"), "X-NO-SUCH-CHARSET"),
              QByteArray("\xc3\xa9"));
}

TEST(CodePageTest, Utf8LocaleReadsCp932OnlyWhenTheBytesAreNotUtf8) {
    EXPECT_EQ(DecodeCodePage(kShiftJis, "UTF-8"), kShiftJisText);
    // Valid UTF-8 wins over the CP932 reading (half-width katakana).
    EXPECT_EQ(DecodeCodePage("\xc3\xa9", "CP932"), QStringLiteral("\uff83\uff69"));
    EXPECT_EQ(DecodeCodePage("\xc3\xa9", "UTF-8"), QStringLiteral("\u00e9"));
    EXPECT_EQ(DecodeCodePage("\357\273\277a", "UTF-8"), QStringLiteral("a")); // BOM dropped
    // Valid in neither: the rest must not be lost.
    EXPECT_EQ(DecodeCodePage("ab\x82", "UTF-8"), QStringLiteral("ab\ufffd"));
    EXPECT_THROW(EncodeCodePage(QString(QChar(0xd800)), "UTF-8"), Error);
}

TEST(CodePageTest, LongTextsDecodeInSlicesExactlyAsAWhole) {
    // Lines of CP932 and of UTF-8 over several slices, the line ends falling anywhere.
    QByteArray sjis;
    QString sjisText;
    QByteArray utf8("\xef\xbb\xbf");
    QString utf8Text;
    for (int i = 0; sjis.size() < 3 * (1 << 20); ++i) {
        const QByteArray n = QByteArray::number(i);
        sjis += n + "\x82\xa0\x87\x40\r\n";
        sjisText += QString::fromLatin1(n) + QStringLiteral("\u3042\u2460\r\n");
        // A U+FEFF at the start of a line is text, not a byte order mark.
        utf8 += "\xef\xbb\xbf" + n + "\xe6\x97\xa5\n";
        utf8Text += QStringLiteral("\ufeff") + QString::fromLatin1(n) + QStringLiteral("\u65e5\n");
    }
    EXPECT_EQ(DecodeCodePage(sjis, "SHIFT_JIS"), sjisText);
    EXPECT_EQ(DecodeCodePage(sjis, "UTF-8"), sjisText); // not UTF-8: read as CP932 throughout
    // One line without a line feed: the slices end at blanks.
    EXPECT_EQ(DecodeCodePage(QByteArray(sjis).replace("\r\n", "  "), "UTF-8"),
              QString(sjisText).replace(QStringLiteral("\r\n"), QStringLiteral("  ")));
    EXPECT_EQ(DecodeCodePage(utf8, "UTF-8"), utf8Text); // only the leading mark is dropped
    // One byte that is valid in neither, far into the text: the UTF-8 reading stays.
    QByteArray broken = utf8;
    broken[broken.size() - 2] = '\xff';
    const QString read = DecodeCodePage(broken, "UTF-8");
    EXPECT_TRUE(read.startsWith(utf8Text.chopped(2))); // all but the broken last character
    EXPECT_TRUE(read.endsWith(QStringLiteral("\ufffd\n")));
}

TEST(CodePageTest, EventsRunWhileALongTextIsDecodedWithOrWithoutLineFeeds) {
    const testsupport::ScopedWorkYieldInterval eager{std::chrono::nanoseconds::zero()};
    for (const QByteArray& line : {QByteArray("line\n"), QByteArray("word ")}) {
        // Five slices, so a pass after each of the first four at least.
        int passes = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] { ++passes; });
        tick.start(0);
        const QString text = DecodeCodePage(line.repeated(1 << 20), "UTF-8");
        EXPECT_GE(passes, 4) << line.constData();
        EXPECT_EQ(text.size(), 5 << 20);
    }
}

} // namespace
