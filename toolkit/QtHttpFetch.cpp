#include "toolkit/HttpFetch.h"

#include "toolkit/App.h"

#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QProgressDialog>
#include <QScopedPointer>
#include <QSslError>
#include <QTimer>
#include <QUrl>

#include <limits>
#include <optional>

namespace toolkit {

namespace {

// The address to request: surrounding blanks dropped, http:// put in front when no scheme is
// given. Raises FetchError(BadAddress) for anything but an http or https address with a host.
QUrl WebAddress(const QString& address) {
    QString text = address.trimmed();
    if (!text.contains(QStringLiteral("://")))
        text.prepend(QStringLiteral("http://"));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        throw FetchError(FetchFailure::BadAddress, address,
                         QStringLiteral("only http and https addresses can be fetched"));
    if (!url.isValid() || url.host().isEmpty())
        throw FetchError(FetchFailure::BadAddress, address,
                         QStringLiteral("this is not a valid web address"));
    return url;
}

// One request from start to end, and the reason to stop early that the reply itself cannot
// know (refused size or type, a cancel).
class Transfer {
public:
    Transfer(QNetworkAccessManager& manager, const QUrl& url, const QString& address,
             std::chrono::milliseconds timeout)
        : m_address(address) {
        QNetworkRequest request(url);
        // Redirects are followed unless less safe (to http from https, or to anything but http
        // and https): the manager's own policy, which a request without one of its own takes.
        request.setMaximumRedirectsAllowed(kMaxRedirects);
        request.setTransferTimeout(static_cast<int>(
            std::min<std::chrono::milliseconds::rep>(timeout.count(), std::numeric_limits<int>::max())));
        request.setHeader(QNetworkRequest::UserAgentHeader,
                          QStringLiteral("%1/%2.%3").arg(AppTitle()).arg(AppMajor()).arg(AppMinor()));
        m_reply.reset(manager.get(request));
        QNetworkReply* reply = m_reply.get();
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this] { checkHeaders(); });
        // The reply holds the body as it arrives; more than the largest document is refused.
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] { checkSize(); });
        QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                         [this](const QList<QSslError>& errors) {
                             for (const QSslError& e : errors)
                                 m_sslErrors << e.errorString();
                         });
    }

    QNetworkReply& Reply() const { return *m_reply; }

    // A reply that has finished (a refusal finishes it) is left as it is.
    void Cancel() {
        if (!m_reply->isFinished())
            refuse({FetchFailure::Cancelled, m_address, QStringLiteral("the fetch was cancelled")});
    }

    // The text and its type, or the error that says why there is none.
    WebDocument Result() {
        checkSize();
        if (m_refusal)
            throw *m_refusal;
        const int status = httpStatus();
        const QNetworkReply::NetworkError error = m_reply->error();
        // Errors of content (2xx codes) and of the server (4xx codes) are what the status says.
        const bool statusError = (error > 200 && error < 300) || (error > 400 && error < 500);
        const bool redirectRefused = error == QNetworkReply::TooManyRedirectsError ||
                                     error == QNetworkReply::InsecureRedirectError;
        if (status >= 300 && status < 400 && !redirectRefused)
            throw redirectError(status);
        if (error != QNetworkReply::NoError && !(statusError && status >= 300))
            throw networkError(error);
        if (status < 200 || status >= 300)
            throw this->statusError(status);
        const QByteArray contentType = m_reply->rawHeader("Content-Type");
        const QByteArray body = m_reply->readAll();
        if (!IsTextContent(contentType, body))
            throw notText(contentType);
        return {DecodeWebText(body, contentType), contentType};
    }

private:
    int httpStatus() const {
        return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    void refuse(const FetchError& error) {
        if (!m_refusal)
            m_refusal.emplace(error);
        m_reply->abort();
    }

    void checkHeaders() {
        const int status = httpStatus();
        if (status < 200 || status >= 300)
            return;
        // A missing length reads as 0.
        if (m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > kMaxFetchBytes)
            return refuse(tooLarge());
        const QByteArray contentType = m_reply->rawHeader("Content-Type");
        if (!contentType.trimmed().isEmpty() && !IsTextContent(contentType, {}))
            refuse(notText(contentType));
    }

    void checkSize() {
        if (m_reply->bytesAvailable() > kMaxFetchBytes)
            refuse(tooLarge());
    }

    FetchError tooLarge() const {
        return {FetchFailure::TooLarge, m_address,
                QStringLiteral("the document is larger than %1 MiB").arg(kMaxFetchBytes >> 20)};
    }

    FetchError notText(const QByteArray& contentType) const {
        const QByteArray type = contentType.split(';').front().trimmed();
        return FetchError(FetchFailure::NotText, m_address,
                          type.isEmpty()
                              ? QStringLiteral("the document is not text")
                              : QStringLiteral("the document is %1, not text")
                                    .arg(QString::fromLatin1(type)));
    }

    FetchError statusError(int status) const {
        QString phrase = m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return FetchError(FetchFailure::HttpStatus, m_address,
                          QStringLiteral("the server answered %1 %2").arg(status).arg(phrase).trimmed());
    }

    // A redirect that was not followed: one to an address that is not on the web, or one that
    // gives no address at all.
    FetchError redirectError(int status) const {
        const QUrl to = QUrl::fromEncoded(m_reply->rawHeader("Location").trimmed());
        if (to.isEmpty())
            return statusError(status);
        const QUrl target = m_reply->url().resolved(to);
        const QString scheme = target.scheme().toLower();
        const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
        return FetchError(FetchFailure::UnsafeRedirect, m_address,
                          QStringLiteral("it was redirected to %1, which %2")
                              .arg(target.toDisplayString(),
                                   web ? QStringLiteral("could not be followed")
                                       : QStringLiteral("is not a web address")));
    }

    FetchError networkError(QNetworkReply::NetworkError error) const {
        switch (error) {
        case QNetworkReply::HostNotFoundError:
            return {FetchFailure::HostNotFound, m_address,
                    QStringLiteral("no server of that name was found")};
        case QNetworkReply::ConnectionRefusedError:
            return {FetchFailure::Refused, m_address,
                    QStringLiteral("the server refused the connection")};
        case QNetworkReply::OperationCanceledError:
        case QNetworkReply::TimeoutError:
            // Nobody cancelled (that is checked first): the reply gave up waiting.
            return {FetchFailure::TimedOut, m_address,
                    QStringLiteral("nothing arrived from the server for too long; it timed out")};
        case QNetworkReply::SslHandshakeFailedError:
            return {FetchFailure::Tls, m_address,
                    QStringLiteral("the secure connection could not be set up (%1)")
                        .arg(m_sslErrors.isEmpty() ? m_reply->errorString()
                                                   : m_sslErrors.join(QStringLiteral("; ")))};
        case QNetworkReply::TooManyRedirectsError:
            return {FetchFailure::TooManyRedirects, m_address,
                    QStringLiteral("it was redirected more than %1 times").arg(kMaxRedirects)};
        case QNetworkReply::InsecureRedirectError:
            return {FetchFailure::UnsafeRedirect, m_address,
                    QStringLiteral("it was redirected from a secure address to an insecure one")};
        default:
            return {FetchFailure::Unreachable, m_address,
                    QStringLiteral("the server could not be reached (%1)").arg(m_reply->errorString())};
        }
    }

    QString m_address;
    QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> m_reply;
    QStringList m_sslErrors;
    std::optional<FetchError> m_refusal;
};

} // namespace

WebDocument QtHttpFetch::FetchDocument(const QString& address, std::chrono::milliseconds timeout) {
    const QUrl url = WebAddress(address);
    QNetworkAccessManager manager;
    Transfer transfer(manager, url, address, timeout);
    QNetworkReply& reply = transfer.Reply();

    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // For a moment the windows repaint and the network is served, but user input waits, so
    // that no other command starts in the middle of this one.
    if (!reply.isFinished()) {
        QTimer::singleShot(m_progressDelay, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Then a modal progress window takes the input, and its Cancel ends the fetch.
    if (!reply.isFinished()) {
        QPointer<QProgressDialog> progress = new QProgressDialog(
            QStringLiteral("Fetching %1").arg(url.toDisplayString()), QStringLiteral("Cancel"), 0,
            0, QApplication::activeWindow());
        progress->setWindowTitle(AppTitle());
        progress->setWindowModality(Qt::ApplicationModal);
        // Its Cancel button, its close button and the Escape key all cancel.
        QObject::connect(progress, &QProgressDialog::canceled, &loop,
                         [&transfer] { transfer.Cancel(); });
        QObject::connect(progress, &QDialog::rejected, &loop, [&transfer] { transfer.Cancel(); });
        progress->show();
        if (!reply.isFinished())
            loop.exec();
        delete progress;
    }
    return transfer.Result();
}

} // namespace toolkit
