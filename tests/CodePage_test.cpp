#include "app/ModuleMain.h"
#include "toolkit/CodePage.h"
#include "toolkit/Error.h"
#include "toolkit/HttpFetch.h"

#include "support/Overrides.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace toolkit;

namespace {

const QByteArray kShiftJis("\x82\xa0\x5c\x00\r\n\x87\x40", 8); // あ \ NUL CR LF ①
const QString kShiftJisText = QString::fromUtf16(u"\u3042\\\0\r\n\u2460", 6);

// The C and POSIX locales mean UTF-8. In a UTF-8 locale, bytes that are not UTF-8 are read as
// CP932; an unknown name is UTF-8.
TEST(CodePageTest, DecodesAndEncodesByTheNamedCharsetLongTextsInSlices) {
    const QByteArray saved = qgetenv("LC_ALL");
    for (const char* locale : {"C", "POSIX", "C.UTF-8", "no_SUCH.locale"}) {
        qputenv("LC_ALL", locale);
        EXPECT_EQ(SystemCodePageName(), QByteArray("UTF-8")) << locale;
    }
    qputenv("LC_ALL", saved);
    EXPECT_EQ(DecodeCodePage("\xc3\xa9", "X-NO-SUCH-CHARSET"), QStringLiteral("\u00e9"));
    EXPECT_EQ(DecodeCodePage("\xc3\xa9", "CP932"), QStringLiteral("\uff83\uff69")); // half-width katakana
    for (const char* charset : {"SHIFT_JIS", "UTF-8", "ANSI_X3.4-1968", "X-NO-SUCH-CHARSET"})
        EXPECT_EQ(DecodeCodePage(kShiftJis, charset), kShiftJisText) << charset;
    EXPECT_EQ(EncodeCodePage(kShiftJisText, "SHIFT_JIS"), kShiftJis);
    EXPECT_EQ(EncodeCodePage(QStringLiteral("\u00e9"), "X-NO-SUCH-CHARSET"), QByteArray("\xc3\xa9"));
    EXPECT_THROW(EncodeCodePage(QStringLiteral("\u00e9"), "SHIFT_JIS"), Error);
    EXPECT_THROW(EncodeCodePage(QString(QChar(0xd800)), "UTF-8"), Error);

    // Long texts decode in slices exactly as a whole, and let events in between.
    const testsupport::ScopedWorkYieldInterval eager{std::chrono::nanoseconds::zero()};
    // Lines of UTF-8, and one line of CP932 without a line feed, over several slices.
    QByteArray sjis;
    QString sjisText;
    QString utf8Text;
    for (int i = 0; sjis.size() < 3 * (1 << 20); ++i) {
        const QByteArray n = QByteArray::number(i);
        sjis += n + "\x82\xa0\x87\x40  ";
        sjisText += QString::fromLatin1(n) + QStringLiteral("\u3042\u2460  ");
        // A U+FEFF at the start of a line is text, not a byte order mark.
        utf8Text += QStringLiteral("\ufeff") + QString::fromLatin1(n) + QStringLiteral("\u65e5\n");
    }
    const QByteArray utf8 = "\xef\xbb\xbf" + utf8Text.toUtf8();
    // The slices of the line end at blanks, a pass after each but the last.
    int passes = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++passes; });
    tick.start(0);
    EXPECT_EQ(DecodeCodePage(sjis, "SHIFT_JIS"), sjisText);
    EXPECT_GE(passes, 2);
    // Only the first slice is not UTF-8: read as CP932 throughout.
    const QByteArray ascii = QByteArray("x\n").repeated(1 << 20);
    EXPECT_EQ(DecodeCodePage("\x82\xa0" + ascii, "UTF-8"),
              QStringLiteral("\u3042") + QString::fromLatin1(ascii));
    EXPECT_EQ(DecodeCodePage(utf8, "UTF-8"), utf8Text); // only the leading mark is dropped
    // One byte that is valid in neither, far into the text: the UTF-8 reading stays, each byte
    // of the broken character a substitute.
    QByteArray broken = utf8;
    broken[broken.size() - 2] = '\xff';
    EXPECT_EQ(DecodeCodePage(broken, "UTF-8"),
              utf8Text.chopped(2) + QStringLiteral("\ufffd\ufffd\ufffd\n"));
}

// ---- Fetched documents ------------------------------------------------------------------------

// The character set comes from a byte order mark, then the header, then a meta tag, then UTF-8
// when the bytes are valid UTF-8, then the system code page. A page that ends in the middle of
// a character keeps a visible substitute for it, whichever way its character set was found.
TEST(WebTextTest, DecodingRules) {
    const struct {
        QByteArray body;
        const char* type;
        QString text;
    } cases[] = {
        {"\xef\xbb\xbf\xe3\x81\x82", "text/plain; charset=shift_jis", QStringLiteral("\u3042")},
        {"\xef\xbb\xbf\xef\xbb\xbf\xe3\x81\x82", "", QStringLiteral("\ufeff\u3042")}, // a second mark is text
        {QByteArray("\xfe\xff\0a", 4), "", QStringLiteral("a")},
        {QByteArray("\xff\xfeh\0i\0", 6), "text/plain; charset=ISO-8859-1", QStringLiteral("hi")},
        {"\x82\xa0\x82\xa2", "text/plain;charset=\"shift_jis\"", QStringLiteral("\u3042\u3044")},
        {"caf\xe9", "text/plain; charset=ISO-8859-1", QStringLiteral("caf\u00e9")},
        {"<meta charset=\"Shift_JIS\">\xe3\x81\x82", "text/html; charset=utf-8",
         QStringLiteral("<meta charset=\"Shift_JIS\">\u3042")},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\">\xa4\xa2", "text/html",
         QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\">\u3042")},
        // An unknown charset label is passed over for the next rule.
        {"<meta charset='x-nonsense'>\xc3\xa9", "text/html; charset=bogus",
         QStringLiteral("<meta charset='x-nonsense'>\u00e9")},
        {"<META CHARSET=euc-jp>\xa4\xa2", "text/html", QStringLiteral("<META CHARSET=euc-jp>\u3042")},
        // A meta tag claiming UTF-16 on a page without a byte order mark is read as UTF-8.
        {"<meta charset=\"utf-16\">\xc3\xa9", "text/html", QStringLiteral("<meta charset=\"utf-16\">\u00e9")},
        {"\x82\xa0 x", "text/plain", DecodeSystem("\x82\xa0 x")},
        {"caf\xE9", "text/html; charset=utf-8", QStringLiteral("caf") + QChar(0xFFFD)},
        {QByteArray("\xFF\xFE" "a\0b", 5), "text/plain", QStringLiteral("a") + QChar(0xFFFD)}, // odd last byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeWebText(c.body, c.type), c.text) << c.body.toHex().toStdString() << " " << c.type;
    // Image types and untyped bytes with a NUL are the fetch's NotText rows.
    EXPECT_EQ(std::tuple(IsTextContent("Text/HTML; charset=x", {}), IsTextContent("application/rss+xml", {}),
                         IsTextContent({}, QByteArray("\xff\xfe" "a\0", 4)),
                         IsTextContent("application/octet-stream", "text")),
              std::tuple(true, true, true, false));
}

// Each document with its type, and the exact line it puts on the strip.
TEST(WebTextTest, PagesAndFeedsPutTheirReadableTextOnTheStrip) {
    const QByteArray page =
        "<!DOCTYPE html>\r\n<html><head><title>Page</title><style>p { color: red }</style>\r\n"
        "<script>var s = \"<b>hidden</b>\"; if (a > b) {}</script></head>\r\n"
        "<body><!-- a comment > with a greater-than -->\r\n<h1>Tom &amp; Jerry</h1>"
        "<p>It&#8217;s a caf&eacute;&nbsp;now&bigstar;</p>\r\n<p>Line one\r\nline   two</p>"
        "<template><p>later</p></template></body></html>";
    const QByteArray rss =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel>"
        "<title>News &amp; Views</title><link>http://x/</link><description>all</description>"
        "<image><title>Logo</title></image>"
        "<item><title><![CDATA[First <b>bold</b> item]]></title><link>http://x/1</link>"
        "<guid>x-1</guid><pubDate>Mon, 07 Dec 2026 10:00:00 GMT</pubDate></item>"
        "<item><title>Second &lt;i&gt;item&lt;/i&gt; &amp;amp; more</title>"
        "<description>&lt;p&gt;text&lt;/p&gt;</description></item></channel></rss>";
    const QByteArray atom =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><feed xmlns=\"http://www.w3.org/2005/Atom\">"
        "<title type=\"text\">Atom &lt;feed&gt;</title><updated>2026-12-07T10:00:00Z</updated>"
        "<entry><title type=\"html\">&lt;em&gt;Rock&lt;/em&gt; &amp;amp; roll</title>"
        "<id>urn:1</id><source><title>Elsewhere</title></source></entry>"
        "<entry><title type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\">An <b>xhtml</b>"
        "\n title</div></title></entry><entry><title>Plain &lt;3</title></entry></feed>";
    const QByteArray rdf =
        "<?xml version=\"1.0\"?><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
        "xmlns=\"http://purl.org/rss/1.0/\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
        "<channel rdf:about=\"http://x/\"><title>RDF feed</title><items><rdf:Seq>"
        "<rdf:li resource=\"http://x/1\"/></rdf:Seq></items></channel>"
        "<item rdf:about=\"http://x/1\"><dc:title>not this</dc:title><title>One</title></item>"
        "<item rdf:about=\"http://x/2\"><title>\n Two\t</title></item><item><title> </title></item></rdf:RDF>";
    // Over 1 MB, so that references and elements fall across the slices it is read in.
    const QByteArray bigUnit = "<p>big &amp; &bigstar;</p><script>f(\"</p>\")</script>\r\n";
    const QByteArray big = "<html><body>" + bigUnit.repeated(30000) + "</body></html>";

    const struct {
        const char* name;
        QByteArray type;
        QByteArray body;
        QString strip;
    } cases[] = {
        {"page", "text/html; charset=utf-8", page,
         QStringLiteral("Tom & Jerry It\u2019s a caf\u00e9\u00a0now\u2605 Line one line two")},
        {"rss", "application/rss+xml", rss,
         QStringLiteral("News & Views \u25c6 First bold item \u25c6 Second item & more")},
        {"atom", "application/atom+xml", atom,
         QStringLiteral("Atom <feed> \u25c6 Rock & roll \u25c6 An xhtml title \u25c6 Plain <3")},
        {"rdf", "text/xml", rdf, QStringLiteral("RDF feed \u25c6 One \u25c6 Two")},
        // A feed in Latin-1 says so only in its XML declaration.
        {"latin1-feed", "application/xml",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss><channel><title>Caf\xe9</title>"
         "</channel></rss>",
         QStringLiteral("Caf\u00e9")},
        // Cut off in the middle of an item: the whole titles before the cut.
        {"truncated", "application/rss+xml",
         "<rss><channel><title>Cut</title><item><title>Whole</title></item><item><title>Hal",
         QStringLiteral("Cut \u25c6 Whole")},
        // Broken before any title: the plain cleanup of what came.
        {"no-titles", "application/rss+xml",
         "<rss><channel><description>no titles\r\nhere</description><item><lin",
         QStringLiteral("no titles here<lin")},
        {"big", "text/html", big, QStringList(30000, QStringLiteral("big & \u2605")).join(u' ')},
        // No type, but it starts as a page.
        {"untyped-page", "", "<!-- x -->\n<!doctype html><p>x &lt; y</p>", QStringLiteral("x < y")},
        // Plain text keeps the plain cleanup exactly.
        {"plain", "text/plain", "a &amp; b\r\n<x>c &lt;", QStringLiteral("a &amp; b c &lt;")},
    };
    for (const auto& c : cases) {
        const QString strip = ModuleMain::WebStripText({DecodeWebText(c.body, c.type), c.type});
        EXPECT_TRUE(strip == c.strip) << c.name << ": " << qPrintable(strip.left(300));
    }
}

} // namespace
