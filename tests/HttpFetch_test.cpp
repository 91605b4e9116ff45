#include "app/WebStrip.h"
#include "toolkit/CodePage.h"
#include "toolkit/HttpFetch.h"

#include "ErrorOf.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

using namespace toolkit;
using namespace std::chrono_literals;

namespace {

// ---- A small HTTP server on the loopback address, served by the test's own event loop ------

QByteArray response(const QByteArray& status, const QByteArray& headers, const QByteArray& body,
                    bool withLength = true) {
    // Answers that say their length keep the connection, as most servers do.
    QByteArray out = "HTTP/1.1 " + status + "\r\n" + headers;
    if (withLength)
        out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    else
        out += "Connection: close\r\n";
    return out + "\r\n" + body;
}

class TestServer : public QTcpServer {
public:
    // What the server writes for a path; an empty answer means it never answers.
    using Route = std::function<QByteArray()>;

    TestServer() { EXPECT_TRUE(listen(QHostAddress::LocalHost, 0)); }

    void Route_(const QByteArray& path, Route route) { m_routes[path] = std::move(route); }
    void Answer(const QByteArray& path, const QByteArray& whole) {
        Route_(path, [whole] { return whole; });
    }
    QString Url(const char* path, const char* scheme = "http") const {
        return QStringLiteral("%1://127.0.0.1:%2%3")
            .arg(QLatin1String(scheme))
            .arg(serverPort())
            .arg(QLatin1String(path));
    }
    int Hits(const QByteArray& path) const {
        const auto it = m_hits.find(path);
        return it == m_hits.end() ? 0 : it->second;
    }

protected:
    // Reads the request head and writes the route's answer once the connection is ready.
    void serve(QTcpSocket* socket) {
        auto head = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
            *head += socket->readAll();
            if (!head->contains("\r\n\r\n"))
                return;
            const QByteArray path = head->split(' ').value(1);
            head->clear();
            ++m_hits[path];
            const auto it = m_routes.find(path);
            const QByteArray answer =
                it == m_routes.end() ? response("404 Not Found", "Content-Type: text/plain\r\n", "none")
                                     : it->second();
            if (answer.isEmpty())
                return; // stalls
            socket->write(answer);
            if (answer.contains("Connection: close"))
                socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        serve(socket);
    }

private:
    std::map<QByteArray, Route> m_routes;
    std::map<QByteArray, int> m_hits;
};

// The same server over TLS, with a throwaway self-signed certificate for 127.0.0.1.
class TlsTestServer : public TestServer {
public:
    TlsTestServer(QSslCertificate certificate, QSslKey key)
        : m_certificate(std::move(certificate)), m_key(std::move(key)) {}

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
        connect(socket, &QSslSocket::sslErrors, socket, [] {});
        serve(socket);
        socket->startServerEncryption();
    }

private:
    QSslCertificate m_certificate;
    QSslKey m_key;
};

class HttpFetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        fetch->SetProgressDelay(30ms);
        const QByteArray sjisPage = "<html><head><meta http-equiv=\"Content-Type\" "
                                    "content=\"text/html; charset=Shift_JIS\"></head>"
                                    "<body>\x93\xfa\x96\x7b\x8c\xea \x82\xa0</body></html>";
        server.Answer("/latin1-header", response("200 OK", "Content-Type: text/plain; charset=ISO-8859-1\r\n", "caf\xe9"));
        server.Answer("/sjis-meta", response("200 OK", "Content-Type: text/html\r\n", sjisPage));
        server.Answer("/utf8", response("200 OK", "Content-Type: text/html\r\n", "<p>caf\xc3\xa9 \xe6\x97\xa5</p>"));
        server.Answer("/missing", response("404 Not Found", "Content-Type: text/html\r\n", "<h1>gone</h1>"));
        server.Answer("/broken", response("500 Internal Server Error", "Content-Type: text/html\r\n", "oops"));
        server.Answer("/redirect", response("302 Found", "Location: /utf8\r\n", ""));
        server.Answer("/loop", response("302 Found", "Location: /loop\r\n", ""));
        server.Answer("/to-ftp", response("301 Moved Permanently", "Location: ftp://127.0.0.1/x\r\n", ""));
        server.Answer("/png", response("200 OK", "Content-Type: image/png\r\n", "\x89PNG\r\n\x1a\n"));
        server.Answer("/untyped-binary", response("200 OK", "", QByteArray("\x01\x00\x02\x00", 4)));
        server.Answer("/xhtml", response("200 OK", "Content-Type: application/xhtml+xml\r\n", "<p>x</p>"));
        server.Route_("/stall", [] { return QByteArray(); });
        server.Route_("/big", [] {
            return response("200 OK", "Content-Type: text/plain\r\n", QByteArray(kMaxFetchBytes + (1 << 20), 'a'));
        });
        server.Route_("/big-unannounced", [] {
            return response("200 OK", "Content-Type: text/plain\r\n", QByteArray(kMaxFetchBytes + (1 << 20), 'a'), false);
        });
        server.Route_("/just-fits", [] {
            return response("200 OK", "Content-Type: text/plain\r\n", QByteArray(kMaxFetchBytes, 'b'));
        });
    }

    // The failure a fetch raised, with its message; nothing when it returned text.
    std::optional<FetchError> failureOf(const QString& address, std::chrono::milliseconds timeout = 10s) {
        try {
            lastText = fetch->Fetch(address, timeout);
        } catch (const FetchError& e) {
            return e;
        }
        return std::nullopt;
    }

    // Expects the fetch to fail for `failure`, with a message naming the address and `reason`.
    void expectFailure(const QString& address, FetchFailure failure, const QString& reason,
                       std::chrono::milliseconds timeout = 10s) {
        const std::optional<FetchError> error = failureOf(address, timeout);
        ASSERT_TRUE(error) << "fetched: " << qPrintable(lastText.left(80));
        EXPECT_EQ(error->Failure(), failure) << qPrintable(error->Description());
        EXPECT_EQ(error->Number(), 35750 + static_cast<int>(failure));
        EXPECT_TRUE(error->Description().contains(address)) << qPrintable(error->Description());
        EXPECT_TRUE(error->Description().contains(reason)) << qPrintable(error->Description());
    }

    TestServer server;
    std::shared_ptr<QtHttpFetch> fetch = std::make_shared<QtHttpFetch>();
    QString lastText;
};

// ---- Character sets ---------------------------------------------------------------------------

// The decoding rules are tested on their own below; a fetch hands them the header and body.
TEST_F(HttpFetchTest, AFetchDecodesByTheHeaderOrTheMetaTag) {
    EXPECT_EQ(fetch->Fetch(server.Url("/latin1-header"), 10s), QStringLiteral("caf\u00e9"));
    EXPECT_TRUE(fetch->Fetch(server.Url("/sjis-meta"), 10s).contains(QStringLiteral("\u65e5\u672c\u8a9e \u3042")));
    EXPECT_EQ(fetch->Fetch(server.Url("/xhtml"), 10s), QStringLiteral("<p>x</p>"));
}

// The character set comes from a byte order mark, then the header, then a meta tag, then UTF-8
// when the bytes are valid UTF-8, then the system code page. A page that ends in the middle of
// a character (a transfer cut short, or a page in another character set than it says) keeps a
// visible substitute for it, whichever way its character set was found.
TEST(WebTextTest, DecodingRulesOnTheirOwn) {
    const QString cut = QStringLiteral("caf") + QChar(0xFFFD);
    const struct {
        QByteArray body;
        const char* type;
        QString text;
    } cases[] = {
        {"\xef\xbb\xbf\xe3\x81\x82", "text/plain; charset=shift_jis", QStringLiteral("\u3042")},
        {QByteArray("\xfe\xff\0a", 4), "", QStringLiteral("a")},
        {QByteArray("\xff\xfeh\0i\0", 6), "text/plain; charset=ISO-8859-1", QStringLiteral("hi")},
        {"\x82\xa0\x82\xa2", "text/plain;charset=\"shift_jis\"", QStringLiteral("\u3042\u3044")},
        {"<meta charset=\"Shift_JIS\">\xe3\x81\x82", "text/html; charset=utf-8",
         QStringLiteral("<meta charset=\"Shift_JIS\">\u3042")},
        // An unknown charset label is passed over for the next rule.
        {"<meta charset='x-nonsense'>\xc3\xa9", "text/html; charset=bogus",
         QStringLiteral("<meta charset='x-nonsense'>\u00e9")},
        {"<META CHARSET=euc-jp>\xa4\xa2", "text/html", QStringLiteral("<META CHARSET=euc-jp>\u3042")},
        // A meta tag claiming UTF-16 on a page without a byte order mark is read as UTF-8.
        {"<meta charset=\"utf-16\">\xc3\xa9", "text/html", QStringLiteral("<meta charset=\"utf-16\">\u00e9")},
        {"<p>caf\xc3\xa9 \xe6\x97\xa5</p>", "text/html", QStringLiteral("<p>caf\u00e9 \u65e5</p>")},
        {"plain \xc3\xa9", "", QStringLiteral("plain \u00e9")},
        {"\x82\xa0 x", "text/plain", DecodeSystem("\x82\xa0 x")},
        {"\xEF\xBB\xBF" "caf\xE9", "text/html", cut},
        {"caf\xE9", "text/html; charset=utf-8", cut},
        {"<meta charset=\"utf-8\">caf\xE9", "text/html", QStringLiteral("<meta charset=\"utf-8\">") + cut},
        {QByteArray("\xFF\xFE" "a\0b", 5), "text/plain", QStringLiteral("a") + QChar(0xFFFD)}, // odd last byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeWebText(c.body, c.type), c.text) << c.body.toHex().toStdString() << " " << c.type;
    EXPECT_TRUE(IsTextContent("Text/HTML; charset=x", {}));
    EXPECT_TRUE(IsTextContent("application/rss+xml", {}));
    EXPECT_FALSE(IsTextContent("application/octet-stream", "text"));
    EXPECT_FALSE(IsTextContent("image/png", {}));
    EXPECT_FALSE(IsTextContent({}, QByteArray("a\0b", 3)));
}

// ---- What a fetched page puts on the strip ----------------------------------------------------

// Each document served with its type, and the exact line it puts on the strip.
TEST_F(HttpFetchTest, PagesAndFeedsPutTheirReadableTextOnTheStrip) {
    const QByteArray page =
        "<!DOCTYPE html>\r\n<html><head><title>Page</title><style>p { color: red }</style>\r\n"
        "<script>var s = \"<b>hidden</b>\"; if (a > b) {}</script></head>\r\n"
        "<body><!-- a comment > with a greater-than -->\r\n<h1>Tom &amp; Jerry</h1>"
        "<p>It&#8217;s a caf&eacute;&nbsp;now&bigstar;</p>\r\n<p>Line one\r\nline   two</p>"
        "<template><p>later</p></template></body></html>";
    const QByteArray rss2 =
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
        "<item rdf:about=\"http://x/2\"><title>Two</title></item></rdf:RDF>";
    // Over 1 MB, so that references and elements fall across the slices it is read in.
    const QByteArray bigUnit = "<p>big &amp; &bigstar;</p><script>f(\"</p>\")</script>\r\n";
    const QByteArray big = "<html><body>" + bigUnit.repeated(30000) + "</body></html>";
    const QString bigText = QStringList(30000, QStringLiteral("big & \u2605")).join(u' ');
    ASSERT_GT(big.size(), 1 << 20);

    const struct {
        const char* path;
        QByteArray type;
        QByteArray body;
        QString strip;
    } cases[] = {
        {"/page", "text/html; charset=utf-8", page,
         QStringLiteral("Tom & Jerry It\u2019s a caf\u00e9\u00a0now\u2605 Line one line two")},
        {"/rss", "application/rss+xml", rss2,
         QStringLiteral("News & Views \u25c6 First bold item \u25c6 Second item & more")},
        {"/rss-as-xml", "text/xml", rss2,
         QStringLiteral("News & Views \u25c6 First bold item \u25c6 Second item & more")},
        {"/rss-as-html", "text/html", rss2,
         QStringLiteral("News & Views \u25c6 First bold item \u25c6 Second item & more")},
        {"/atom", "application/atom+xml", atom,
         QStringLiteral("Atom <feed> \u25c6 Rock & roll \u25c6 An xhtml title \u25c6 Plain <3")},
        {"/rdf", "text/xml", rdf, QStringLiteral("RDF feed \u25c6 One \u25c6 Two")},
        // A feed in Latin-1 says so only in its XML declaration.
        {"/latin1-feed", "application/xml",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss><channel><title>Caf\xe9</title>"
         "</channel></rss>",
         QStringLiteral("Caf\u00e9")},
        // Cut off in the middle of an item: the whole titles before the cut.
        {"/truncated", "application/rss+xml",
         "<rss><channel><title>Cut</title><item><title>Whole</title></item><item><title>Hal",
         QStringLiteral("Cut \u25c6 Whole")},
        // Broken before any title: the plain cleanup of what came.
        {"/no-titles", "application/rss+xml",
         "<rss><channel><description>no titles\r\nhere</description><item><lin",
         QStringLiteral("no titles here<lin")},
        {"/big", "text/html", big, bigText},
        // No type, but it starts as a page.
        {"/untyped-page", "", "<!-- x -->\n<!doctype html><p>x &lt; y</p>", QStringLiteral("x < y")},
        // Plain text keeps the plain cleanup exactly.
        {"/plain", "text/plain", "a &amp; b\r\n<x>c &lt;", QStringLiteral("a &amp; b c &lt;")},
    };
    for (const auto& c : cases) {
        server.Answer(c.path, response("200 OK", c.type.isEmpty() ? QByteArray()
                                                                  : "Content-Type: " + c.type + "\r\n",
                                       c.body));
        const WebDocument document = fetch->FetchDocument(server.Url(c.path), 10s);
        const QString strip = WebStripText(document);
        qsizetype at = 0; // where they part, to show that much
        while (at < strip.size() && at < c.strip.size() && strip[at] == c.strip[at])
            ++at;
        EXPECT_TRUE(strip == c.strip) << c.path << " differs at " << at << " of " << strip.size()
                                      << ": " << qPrintable(strip.mid(std::max<qsizetype>(0, at - 40), 200));
    }
}

// ---- Addresses --------------------------------------------------------------------------------

TEST_F(HttpFetchTest, AnAddressWithoutSchemeIsHttpAndRedirectsAreFollowed) {
    QString bare = server.Url("/utf8");
    bare.remove(QStringLiteral("http://"));
    EXPECT_EQ(fetch->Fetch(QStringLiteral("  ") + bare + QStringLiteral(" "), 10s), QStringLiteral("<p>caf\u00e9 \u65e5</p>"));
    EXPECT_EQ(fetch->Fetch(server.Url("/redirect"), 10s), QStringLiteral("<p>caf\u00e9 \u65e5</p>"));
    EXPECT_EQ(server.Hits("/utf8"), 2);
    const QString fits = fetch->Fetch(server.Url("/just-fits"), 10s);
    EXPECT_EQ(fits.size(), kMaxFetchBytes);
}

// ---- Failures ---------------------------------------------------------------------------------

TEST_F(HttpFetchTest, EachFailureNamesTheAddressAndItsReasonAndAStallTimesOutAtTheSetTimeOut) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const QString refused = QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort());
    closed.close();
    const struct {
        QString address;
        FetchFailure failure;
        const char* reason;
        std::chrono::milliseconds timeout = 10s;
    } cases[] = {
        {QStringLiteral("file:///etc/passwd"), FetchFailure::BadAddress, "only http and https"},
        {QStringLiteral("ftp://127.0.0.1/x"), FetchFailure::BadAddress, "only http and https"},
        {QStringLiteral("http://"), FetchFailure::BadAddress, "not a valid web address"},
        {QStringLiteral("http://exa mple/"), FetchFailure::BadAddress, "not a valid web address"},
        {server.Url("/missing"), FetchFailure::HttpStatus, "404 Not Found"},
        {server.Url("/broken"), FetchFailure::HttpStatus, "500 Internal Server Error"},
        {refused, FetchFailure::Refused, "refused the connection"},
        {server.Url("/loop"), FetchFailure::TooManyRedirects, "more than 10 times"},
        {server.Url("/to-ftp"), FetchFailure::UnsafeRedirect, "not a web address"},
        {server.Url("/big"), FetchFailure::TooLarge, "larger than 32 MiB"},
        {server.Url("/big-unannounced"), FetchFailure::TooLarge, "larger than 32 MiB"},
        {server.Url("/png"), FetchFailure::NotText, "image/png, not text"},
        {server.Url("/untyped-binary"), FetchFailure::NotText, "not text"},
        {server.Url("/stall"), FetchFailure::TimedOut, "timed out", 300ms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.address));
        expectFailure(c.address, c.failure, QString::fromLatin1(c.reason), c.timeout);
    }
    EXPECT_GE(server.Hits("/loop"), kMaxRedirects + 1); // the first request and 10 redirects
    EXPECT_EQ(server.Hits("/stall"), 1);
}

// Runs `act` on the progress window once it is up and `ready` holds; keeps its label and
// modality.
struct ProgressWatch {
    QString label;
    bool modal = false;
    void Start(std::function<bool()> ready, std::function<void(QProgressDialog&)> act) {
        auto* watch = new QTimer;
        watch->setInterval(5);
        QObject::connect(watch, &QTimer::timeout, watch, [this, watch, ready, act] {
            auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
            if (progress && ready()) {
                watch->stop();
                watch->deleteLater();
                label = progress->labelText();
                modal = progress->windowModality() == Qt::ApplicationModal;
                act(*progress);
            }
        });
        watch->start();
    }
};

TEST_F(HttpFetchTest, CancelInTheProgressWindowEndsAStalledFetch) {
    // The time-out is long: only a cancel can end these fetches in time for the test. Each
    // cancel waits until the server holds the request: on a busy machine the progress window
    // can come up before the request has reached the server, and a cancel then would leave
    // nothing for the server to count.
    ProgressWatch byButton;
    byButton.Start([this] { return server.Hits("/stall") == 1; }, [](QProgressDialog& d) {
        for (QPushButton* button : d.findChildren<QPushButton*>())
            button->click();
    });
    expectFailure(server.Url("/stall"), FetchFailure::Cancelled, QStringLiteral("cancelled"), 60s);
    EXPECT_TRUE(byButton.label.contains(server.Url("/stall"))) << qPrintable(byButton.label);
    EXPECT_TRUE(byButton.modal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // the window is gone afterwards

    ProgressWatch byEscape;
    byEscape.Start([this] { return server.Hits("/stall") == 2; }, [](QProgressDialog& d) { d.reject(); });
    expectFailure(server.Url("/stall"), FetchFailure::Cancelled, QStringLiteral("cancelled"), 60s);
    EXPECT_EQ(server.Hits("/stall"), 2);
}

// ---- TLS --------------------------------------------------------------------------------------

TEST(HttpFetchTlsTest, AnUntrustedCertificateFailsTheHandshakeAndATrustedOneWorks) {
    ASSERT_TRUE(QSslSocket::supportsSsl()) << "no TLS backend";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString keyPath = dir.filePath(QStringLiteral("key.pem"));
    const QString certPath = dir.filePath(QStringLiteral("cert.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  QStringLiteral("req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                                 "-addext subjectAltName=IP:127.0.0.1 -keyout")
                          .split(QLatin1Char(' '))
                      << keyPath << QStringLiteral("-out") << certPath);
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().constData();
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(certPath);
    ASSERT_EQ(certs.size(), 1);
    QFile keyFile(keyPath);
    ASSERT_TRUE(keyFile.open(QIODevice::ReadOnly));
    const QSslKey key(&keyFile, QSsl::Rsa);
    ASSERT_FALSE(key.isNull());

    TlsTestServer server(certs.front(), key);
    server.Answer("/page", response("200 OK", "Content-Type: text/plain; charset=utf-8\r\n", "secret \xc3\xa9"));
    server.Answer("/downgrade", response("302 Found", "Location: http://127.0.0.1:1/x\r\n", ""));
    QtHttpFetch fetch;
    const QString address = server.Url("/page", "https");
    try {
        fetch.Fetch(address, 10s);
        ADD_FAILURE() << "an untrusted certificate was accepted";
    } catch (const FetchError& e) {
        EXPECT_EQ(e.Failure(), FetchFailure::Tls);
        EXPECT_TRUE(e.Description().contains(address)) << qPrintable(e.Description());
        EXPECT_TRUE(e.Description().contains(QStringLiteral("self signed"), Qt::CaseInsensitive) ||
                    e.Description().contains(QStringLiteral("self-signed"), Qt::CaseInsensitive))
            << qPrintable(e.Description());
    }
    EXPECT_EQ(server.Hits("/page"), 0);

    // Trusted, the same server serves the page, and a redirect from it to http is refused.
    const QSslConfiguration saved = QSslConfiguration::defaultConfiguration();
    QSslConfiguration trusting = saved;
    trusting.addCaCertificate(certs.front());
    QSslConfiguration::setDefaultConfiguration(trusting);
    QString text;
    std::optional<FetchFailure> downgrade;
    try {
        text = fetch.Fetch(address, 10s);
        fetch.Fetch(server.Url("/downgrade", "https"), 10s);
    } catch (const FetchError& e) {
        downgrade = e.Failure();
    }
    QSslConfiguration::setDefaultConfiguration(saved);
    EXPECT_EQ(text, QStringLiteral("secret \u00e9"));
    EXPECT_EQ(downgrade, FetchFailure::UnsafeRedirect);
}

} // namespace
