#include "toolkit/HttpFetch.h"

#include "TempFolder.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <map>

using namespace toolkit;
using namespace std::chrono_literals;

namespace {

// Answers that say their length keep the connection, as most servers do.
QByteArray response(const QByteArray& status, const QByteArray& headers, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// A small HTTP server on the loopback address, served by the test's own event loop; over TLS
// when given a certificate. A route with an empty answer never answers.
class TestServer : public QTcpServer {
public:
    explicit TestServer(QSslCertificate certificate = QSslCertificate(), QSslKey key = QSslKey())
        : m_certificate(std::move(certificate)), m_key(std::move(key)) {
        EXPECT_TRUE(listen(QHostAddress::LocalHost, 0));
    }
    QString Url(const char* path) const {
        return QStringLiteral("%1://127.0.0.1:%2%3")
            .arg(QLatin1String(m_certificate.isNull() ? "http" : "https"),
                 QString::number(serverPort()), QLatin1String(path));
    }

    std::map<QByteArray, QByteArray> routes;
    std::map<QByteArray, int> hits;

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* tls = m_certificate.isNull() ? nullptr : new QSslSocket(this);
        QTcpSocket* socket = tls ? tls : new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            // A request is read once its head has come whole.
            if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            const QByteArray path = socket->readAll().split(' ').value(1);
            ++hits[path];
            const auto it = routes.find(path);
            const QByteArray answer =
                it == routes.end() ? response("404 Not Found", {}, "none") : it->second;
            socket->write(answer);
            if (answer.contains("Connection: close"))
                socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (tls) {
            tls->setLocalCertificate(m_certificate);
            tls->setPrivateKey(m_key);
            tls->startServerEncryption();
        }
    }

private:
    QSslCertificate m_certificate;
    QSslKey m_key;
};

// Expects the fetch to fail for `failure`, with a message naming the address and `reason`.
void expectFailure(QtHttpFetch& fetch, const QString& address, FetchFailure failure,
                   const char* reason, std::chrono::milliseconds timeout = 10s) {
    SCOPED_TRACE(qPrintable(address));
    try {
        fetch.FetchDocument(address, timeout);
        ADD_FAILURE() << "fetched text";
    } catch (const FetchError& e) {
        EXPECT_EQ(std::tuple(e.Failure(), e.Number(), e.Description().contains(address),
                             e.Description().contains(QLatin1String(reason))),
                  std::tuple(failure, 35750 + static_cast<int>(failure), true, true))
            << qPrintable(e.Description());
    }
}

class HttpFetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        fetch.SetProgressDelay(30ms);
        server.routes = {
            {"/latin1",
             response("200 OK", "Content-Type: text/plain; charset=ISO-8859-1\r\n", "caf\xe9")},
            {"/redirect", response("302 Found", "Location: /latin1\r\n", "")},
            {"/missing", response("404 Not Found", "Content-Type: text/html\r\n", "<h1>gone</h1>")},
            {"/broken",
             response("500 Internal Server Error", "Content-Type: text/html\r\n", "oops")},
            {"/loop", response("302 Found", "Location: /loop\r\n", "")},
            {"/to-ftp", response("301 Moved Permanently", "Location: ftp://127.0.0.1/x\r\n", "")},
            {"/png", response("200 OK", "Content-Type: image/png\r\n", "\x89PNG\r\n\x1a\n")},
            {"/untyped-binary", response("200 OK", "", QByteArray("\x01\x00\x02\x00", 4))},
            {"/stall", {}},
            // Announced as too large, it sends a few bytes only: its length alone must refuse it.
            {"/big", "HTTP/1.1 200 OK\r\nContent-Length: " +
                         QByteArray::number(kMaxFetchBytes + 1) + "\r\n\r\nabc"},
            {"/big-unannounced",
             "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(kMaxFetchBytes + 1, 'a')},
            {"/just-fits",
             response("200 OK", "Content-Type: text/plain\r\n", QByteArray(kMaxFetchBytes, 'a'))},
        };
    }

    TestServer server;
    QtHttpFetch fetch;
};

// A bare address is http, surrounding blanks dropped; redirects are followed; the header's
// character set and type come with the text; a document of exactly the largest size passes.
TEST_F(HttpFetchTest, AddressesRedirectsTypeTheLargestDocumentAndEachFailure) {
    const QString bare = QStringLiteral("  127.0.0.1:%1/redirect ").arg(server.serverPort());
    const WebDocument document = fetch.FetchDocument(bare, 10s);
    EXPECT_EQ(std::tuple(document.text, document.contentType, server.hits["/latin1"]),
              std::tuple(QStringLiteral("caf\u00e9"), QByteArray("text/plain; charset=ISO-8859-1"), 1));
    EXPECT_EQ(fetch.FetchDocument(server.Url("/just-fits"), 10s).text.size(), kMaxFetchBytes);

    // Each failure names the address and its reason; a stall times out at the set time-out.
    const struct {
        QString address;
        FetchFailure failure;
        const char* reason;
        std::chrono::milliseconds timeout = 10s;
    } cases[] = {
        {QStringLiteral("file:///etc/passwd"), FetchFailure::BadAddress, "only http and https"},
        {QStringLiteral("http://"), FetchFailure::BadAddress, "not a valid web address"},
        {QStringLiteral("http://127.0.0.1:1/%zz"), FetchFailure::BadAddress, "not a valid web address"},
        {server.Url("/missing"), FetchFailure::HttpStatus, "404 Not Found"},
        {server.Url("/broken"), FetchFailure::HttpStatus, "500 Internal Server Error"},
        // Nothing listens on port 1.
        {QStringLiteral("http://127.0.0.1:1/"), FetchFailure::Refused, "refused the connection"},
        {server.Url("/loop"), FetchFailure::TooManyRedirects, "more than 10 times"},
        {server.Url("/to-ftp"), FetchFailure::UnsafeRedirect, "not a web address"},
        {server.Url("/big"), FetchFailure::TooLarge, "larger than 32 MiB"},
        {server.Url("/big-unannounced"), FetchFailure::TooLarge, "larger than 32 MiB"},
        {server.Url("/png"), FetchFailure::NotText, "image/png, not text"},
        {server.Url("/untyped-binary"), FetchFailure::NotText, "not text"},
        {server.Url("/stall"), FetchFailure::TimedOut, "timed out", 300ms},
    };
    for (const auto& c : cases)
        expectFailure(fetch, c.address, c.failure, c.reason, c.timeout);
    EXPECT_GE(server.hits["/loop"], kMaxRedirects + 1); // the first request and 10 redirects
}

TEST_F(HttpFetchTest, CancelInTheProgressWindowEndsAStalledFetch) {
    // The time-out is long: only a cancel can end these fetches in time for the test. Each
    // cancel waits until the server holds the request: on a busy machine the progress window
    // can come up before the request has reached the server. The first cancels by its Cancel
    // button, the second as Escape does.
    for (const int request : {1, 2}) {
        const WhenModal cancel([&](QWidget& window) {
            auto& progress = static_cast<QProgressDialog&>(window);
            EXPECT_TRUE(QTest::qWaitFor([&] { return server.hits["/stall"] == request; }));
            EXPECT_TRUE(progress.labelText().contains(server.Url("/stall")));
            EXPECT_EQ(progress.windowModality(), Qt::ApplicationModal);
            if (request == 1)
                progress.findChild<QPushButton*>()->click();
            else
                progress.reject();
        });
        expectFailure(fetch, server.Url("/stall"), FetchFailure::Cancelled, "cancelled", 60s);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // the window is gone afterwards
}

TEST(HttpFetchTlsTest, AnUntrustedCertificateFailsTheHandshakeAndATrustedOneWorks) {
    ASSERT_TRUE(QSslSocket::supportsSsl()) << "no TLS backend";
    const TempFolder tmp;
    ASSERT_EQ(QProcess::execute(QStringLiteral("openssl"),
                                QStringLiteral("req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                                               "-addext subjectAltName=IP:127.0.0.1 -keyout %1 -out %2")
                                    .arg(tmp.path("key.pem"), tmp.path("cert.pem"))
                                    .split(QLatin1Char(' '))),
              0);
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(tmp.path("cert.pem"));
    ASSERT_EQ(certs.size(), 1);
    TestServer server(certs.front(), QSslKey(tmp.read("key.pem"), QSsl::Rsa));
    server.routes = {
        {"/page",
         response("200 OK", "Content-Type: text/plain; charset=utf-8\r\n", "secret \xc3\xa9")},
        {"/downgrade", response("302 Found", "Location: http://127.0.0.1:1/x\r\n", "")},
    };
    QtHttpFetch fetch;
    expectFailure(fetch, server.Url("/page"), FetchFailure::Tls, "self-signed");

    // Trusted, the same server serves the page, and a redirect from it to http is refused. The
    // trust is left in place: each test runs in a process of its own.
    QSslConfiguration trusting = QSslConfiguration::defaultConfiguration();
    trusting.addCaCertificate(certs.front());
    QSslConfiguration::setDefaultConfiguration(trusting);
    EXPECT_EQ(fetch.FetchDocument(server.Url("/page"), 10s).text, QStringLiteral("secret \u00e9"));
    expectFailure(fetch, server.Url("/downgrade"), FetchFailure::UnsafeRedirect, "to an insecure one");
}

} // namespace
