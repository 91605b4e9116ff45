#include "toolkit/CodePage.h"

#include "toolkit/Error.h"

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

} // namespace
