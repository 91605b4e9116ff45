#include "toolkit/CodePage.h"

#include "toolkit/Error.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <langinfo.h>
#include <locale.h>

namespace toolkit {

namespace {

// The name ICU gives the Windows variant of Shift_JIS, the one those older files are in.
constexpr char kFallbackCodePage[] = "CP932";

// glibc names plain ASCII this way in the C/POSIX locale; ASCII text is UTF-8 as well.
bool IsUtf8Name(const QByteArray& charset) {
    const QByteArray name = charset.toUpper();
    return name.isEmpty() || name == "UTF-8" || name == "UTF8" || name == "ANSI_X3.4-1968" ||
           name == "ASCII" || name == "US-ASCII";
}

// Stateless, so that a multi-byte sequence cut off at the end counts as an error instead of
// waiting for bytes that never come.
constexpr auto kFlags = QStringConverter::Flag::Stateless;

QString DecodeUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, kFlags);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp932(kFallbackCodePage, kFlags);
    if (cp932.isValid()) {
        QString fallback = cp932(bytes);
        if (!cp932.hasError())
            return fallback;
    }
    return text;
}

} // namespace

QByteArray SystemCodePageName() {
    // A locale object of its own, rather than setlocale, leaves the process's locale alone.
    const locale_t locale = ::newlocale(LC_CTYPE_MASK, "", locale_t{});
    if (locale == locale_t{})
        return QByteArrayLiteral("UTF-8");
    const QByteArray codeset(::nl_langinfo_l(CODESET, locale));
    ::freelocale(locale);
    return IsUtf8Name(codeset) ? QByteArrayLiteral("UTF-8") : codeset;
}

QString DecodeCodePage(const QByteArray& bytes, const QByteArray& charset) {
    if (IsUtf8Name(charset))
        return DecodeUtf8(bytes);
    QStringDecoder decoder(charset.constData(), kFlags);
    if (!decoder.isValid())
        return DecodeUtf8(bytes);
    return decoder(bytes);
}

QByteArray EncodeCodePage(const QString& text, const QByteArray& charset) {
    QStringEncoder encoder(IsUtf8Name(charset) ? "UTF-8" : charset.constData(), kFlags);
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringConverter::Utf8, kFlags);
    QByteArray bytes = encoder(text);
    if (encoder.hasError())
        throw Error(5, QStringLiteral("The text holds characters that the code page %1 cannot "
                                      "represent")
                           .arg(QString::fromLatin1(charset)));
    return bytes;
}

QString DecodeSystem(const QByteArray& bytes) {
    return DecodeCodePage(bytes, SystemCodePageName());
}

QByteArray EncodeSystem(const QString& text) {
    return EncodeCodePage(text, SystemCodePageName());
}

} // namespace toolkit
