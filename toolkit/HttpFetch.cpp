#include "toolkit/HttpFetch.h"

#include "toolkit/CodePage.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <optional>
#include <utility>

namespace toolkit {

namespace {

// The label of a character set as a page gives it, in the name the converter knows it by:
// pages that say Shift_JIS are written in its Windows variant, and pages that say Latin-1
// or ASCII in Windows-1252, as browsers read them. Nothing for a label nobody knows.
std::optional<QByteArray> knownCharset(QByteArray label) {
    static const QRegularExpression quotes(QStringLiteral("^['\"]+|['\"]+$"));
    label = QString::fromLatin1(label.trimmed().toLower()).remove(quotes).toLatin1();
    if (label.isEmpty())
        return std::nullopt;
    static const QByteArrayList shiftJis{"shift_jis",  "shift-jis",   "sjis",  "x-sjis", "ms_kanji",
                                         "csshiftjis", "windows-31j", "ms932", "cp932"};
    if (shiftJis.contains(label))
        return QByteArrayLiteral("CP932");
    static const QByteArrayList latin1{"iso-8859-1", "iso8859-1",  "latin1", "l1",    "us-ascii",
                                       "ascii",      "iso_8859-1", "cp819",  "ibm819"};
    if (latin1.contains(label))
        return QByteArrayLiteral("windows-1252");
    if (!QStringDecoder(label.constData()).isValid())
        return std::nullopt;
    return label;
}

// The charset parameter of a Content-Type value.
QByteArray charsetParameter(const QByteArray& contentType) {
    static const QRegularExpression charset(QStringLiteral(";\\s*charset\\s*=([^;]*)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return charset.match(QString::fromLatin1(contentType)).captured(1).toLatin1().trimmed();
}

// <meta charset="x"> or <meta http-equiv="Content-Type" content="text/html; charset=x"> near
// the start of the page, where a page has to declare it; or, in an XML document such as a
// feed, the encoding of its declaration <?xml version="1.0" encoding="x"?>.
QByteArray metaCharset(const QByteArray& body) {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\b[^>]*?\\bcharset\\s*=\\s*[\"']?\\s*([A-Za-z0-9._:\\-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression xml(
        QStringLiteral("^\\s*<\\?xml\\s[^>]*?\\bencoding\\s*=\\s*[\"']([A-Za-z0-9._:\\-]+)"));
    const QString head = QString::fromLatin1(body.left(4096));
    QRegularExpressionMatch match = meta.match(head);
    if (!match.hasMatch())
        match = xml.match(head);
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

QString decodeWith(const QByteArray& charset, const QByteArray& body) {
    // Stateless: the body is whole, so a sequence cut off at its end is shown as a substitute
    // character instead of waiting, unseen, for bytes that never come.
    QStringDecoder decoder(charset.constData(), QStringConverter::Flag::Stateless);
    return decoder(body);
}

} // namespace

FetchError::FetchError(FetchFailure failure, const QString& address, const QString& reason)
    : Error(kFetchErrorBase + static_cast<int32_t>(failure),
            QStringLiteral("Could not fetch %1: %2.").arg(address, reason)) {}

bool IsTextContent(const QByteArray& contentType, const QByteArray& body) {
    const QByteArray type = contentType.split(';').front().trimmed().toLower();
    if (type.isEmpty()) {
        // UTF-16 text has NUL bytes everywhere, but starts with its byte order mark.
        if (body.startsWith("\xff\xfe") || body.startsWith("\xfe\xff"))
            return true;
        return !body.left(4096).contains('\0');
    }
    if (type.startsWith("text/") || type.endsWith("+xml") || type.endsWith("+json"))
        return true;
    static const QByteArrayList textual{"application/xml", "application/json",
                                        "application/javascript", "application/ecmascript",
                                        "application/x-javascript"};
    return textual.contains(type);
}

QString DecodeWebText(const QByteArray& body, const QByteArray& contentType) {
    if (body.startsWith("\xef\xbb\xbf"))
        return decodeWith("UTF-8", body);
    if (body.startsWith("\xff\xfe"))
        return decodeWith("UTF-16LE", body);
    if (body.startsWith("\xfe\xff"))
        return decodeWith("UTF-16BE", body);
    if (const auto charset = knownCharset(charsetParameter(contentType)))
        return decodeWith(*charset, body);
    if (auto charset = knownCharset(metaCharset(body))) {
        // A page that reached this point has no byte order mark, so it is not in UTF-16
        // whatever its meta tag says.
        if (charset->startsWith("utf-16"))
            charset = QByteArrayLiteral("UTF-8");
        return decodeWith(*charset, body);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return DecodeSystem(body);
}

static constinit std::shared_ptr<HttpFetchSeam> installedFetch;

std::shared_ptr<HttpFetchSeam> SetHttpFetch(std::shared_ptr<HttpFetchSeam> fetch) {
    return std::exchange(installedFetch, std::move(fetch));
}

WebDocument Inet::OpenDocument(const QString& address) {
    // A copy, held while the fetch runs, in case a handler inside it swaps the fetch.
    if (const std::shared_ptr<HttpFetchSeam> fetch = installedFetch)
        return fetch->FetchDocument(address, kRequestTimeout);
    return QtHttpFetch().FetchDocument(address, kRequestTimeout);
}

} // namespace toolkit
