#pragma once

#include "toolkit/Error.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>

namespace toolkit {

// Why a fetch failed. The error's number is kFetchErrorBase plus the value.
inline constexpr int32_t kFetchErrorBase = 35750;
enum class FetchFailure : int32_t {
    BadAddress = 0,       // not an http or https address
    HostNotFound = 1,     // the name does not resolve
    Refused = 2,          // nothing listens there
    Unreachable = 3,      // any other network failure
    Tls = 4,              // the secure connection could not be set up
    HttpStatus = 5,       // the server answered with an error status
    TimedOut = 6,         // nothing arrived for the whole request time-out
    Cancelled = 7,        // the user cancelled
    NotText = 8,          // the document is not text
    TooLarge = 9,         // the document is larger than kMaxFetchBytes
    TooManyRedirects = 10,
    UnsafeRedirect = 11,  // to a less safe address (https to http, or not a web address)
};

// The raised error: the address as the user gave it and the reason in plain English.
class FetchError : public Error {
public:
    FetchError(FetchFailure failure, const QString& address, const QString& reason);
    FetchFailure Failure() const noexcept {
        return static_cast<FetchFailure>(Number() - kFetchErrorBase);
    }
};

inline constexpr int64_t kMaxFetchBytes = 32 * 1024 * 1024;
inline constexpr int32_t kMaxRedirects = 10;

// Whether a document of this Content-Type may be shown as text: text/*, XML, JSON and
// script types. With no type at all the body decides: text holds no NUL byte near its start.
bool IsTextContent(const QByteArray& contentType, const QByteArray& body);

// Decodes a fetched body, the character set found in this order: a byte order mark, the
// Content-Type header's charset, an HTML meta tag, UTF-8 when the bytes are valid UTF-8, and
// else the system code page.
QString DecodeWebText(const QByteArray& body, const QByteArray& contentType);

// A fetched document: its text and the Content-Type it came with (empty when unknown).
struct WebDocument {
    QString text;
    QByteArray contentType;
};

// The platform's HTTP fetch: gets the document at the address and returns its text and type,
// or raises FetchError. Synchronous for its caller.
class HttpFetchSeam {
public:
    virtual ~HttpFetchSeam() = default;
    virtual WebDocument FetchDocument(const QString& address,
                                      std::chrono::milliseconds timeout) = 0;
};

// The real fetch over QNetworkAccessManager. While it waits, windows repaint but user input
// waits; after a moment a modal progress window with a Cancel button comes up, which keeps
// input away from every other window until the fetch ends.
class QtHttpFetch final : public HttpFetchSeam {
public:
    WebDocument FetchDocument(const QString& address, std::chrono::milliseconds timeout) override;
    // How long a fetch runs before its progress window shows (400 ms unless changed).
    void SetProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }

private:
    std::chrono::milliseconds m_progressDelay{400};
};

// Installs the fetch that every Inet uses from now on and returns the one it replaces; nullptr
// means a QtHttpFetch.
std::shared_ptr<HttpFetchSeam> SetHttpFetch(std::shared_ptr<HttpFetchSeam> fetch);

// The HTTP fetch component of a window: one synchronous call that returns the document at
// an address as text, with a request time-out of 60 seconds. The time-out counts from the
// last data that arrived, so a slow but steady transfer goes on.
class Inet {
public:
    static constexpr std::chrono::milliseconds kRequestTimeout{std::chrono::seconds(60)};

    WebDocument OpenDocument(const QString& address);
};

} // namespace toolkit
