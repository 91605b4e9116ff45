#include "toolkit/HttpFetch.h"

#include <gtest/gtest.h>

using toolkit::DecodeWebText;

// A page that ends in the middle of a character (a transfer cut short, or a page in another
// character set than it says) keeps a visible substitute for it, whichever way its character
// set was found; nothing at its end silently disappears.
TEST(WebTextDecode, aCharacterCutOffAtTheEndStaysVisibleAsASubstitute) {
    const QString cut = QStringLiteral("caf") + QChar(0xFFFD);
    EXPECT_EQ(DecodeWebText("\xEF\xBB\xBF" "caf\xE9", "text/html"), cut); // byte order mark
    EXPECT_EQ(DecodeWebText("caf\xE9", "text/html; charset=utf-8"), cut);  // header
    EXPECT_EQ(DecodeWebText("<meta charset=\"utf-8\">caf\xE9", "text/html"),
              QStringLiteral("<meta charset=\"utf-8\">") + cut);           // meta tag
    // UTF-16 with an odd last byte.
    const QString utf16 = DecodeWebText(QByteArray("\xFF\xFE" "a\0b", 5), "text/plain");
    ASSERT_EQ(utf16.size(), 2);
    EXPECT_EQ(utf16[0], QLatin1Char('a'));
    EXPECT_EQ(utf16[1], QChar(0xFFFD));
}
