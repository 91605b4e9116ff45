#include "toolkit/CodePage.h"

#include "toolkit/Error.h"
#include "toolkit/WorkYield.h"

#include <QByteArrayList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

#include <langinfo.h>
#include <locale.h>

namespace toolkit {

namespace {

// The name ICU gives the Windows variant of Shift_JIS, the one those older files are in.
constexpr char kFallbackCodePage[] = "CP932";

// glibc names plain ASCII this way in the C/POSIX locale; ASCII text is UTF-8 as well.
bool IsUtf8Name(const QByteArray& charset) {
    static const QByteArrayList utf8{"", "UTF-8", "UTF8", "ANSI_X3.4-1968", "ASCII", "US-ASCII"};
    return utf8.contains(charset.toUpper());
}

// Stateless, so that a multi-byte sequence cut off at the end counts as an error instead of
// waiting for bytes that never come.
constexpr auto kFlags = QStringConverter::Flag::Stateless;

// A long text is decoded in slices of about this many bytes, with pending events let in
// between, so that a big file does not freeze the windows while it is read.
constexpr qsizetype kSliceBytes = 1 << 20;

// Where the slice that starts at `from` ends: just after a line feed, or, in a text with no
// line feed for another slice's length, just after a blank or control byte other than ESC.
// Bytes below 0x21 are never part of a multi-byte character in UTF-8, CP932, EUC, GBK, GB18030
// or Big5 codes, and ISO-2022 texts return to ASCII before each line end.
qsizetype SliceEnd(const QByteArray& bytes, qsizetype from) {
    const qsizetype start = from + kSliceBytes;
    if (bytes.size() - from <= kSliceBytes)
        return bytes.size();
    const qsizetype lineFeed = bytes.indexOf('\n', start);
    if (lineFeed >= 0 && lineFeed - start < kSliceBytes)
        return lineFeed + 1;
    const auto cut = std::find_if(bytes.cbegin() + start, bytes.cend(), [](char c) {
        return static_cast<unsigned char>(c) < 0x21 && c != 0x1B;
    });
    return cut == bytes.cend() ? bytes.size() : cut - bytes.cbegin() + 1;
}

// Decodes slice by slice, the slices cut so that they decode exactly as the whole would. Only
// the first slice drops a byte order mark; a U+FEFF at the start of a later slice is text.
// Sets `error` when a slice could not be decoded cleanly.
QString DecodeSliced(const QByteArray& bytes, const char* charset, bool& error) {
    QString text;
    text.reserve(bytes.size());
    error = false;
    WorkYield yield;
    qsizetype from = 0;
    do {
        const qsizetype end = SliceEnd(bytes, from);
        QStringConverter::Flags flags = kFlags;
        if (from > 0)
            flags |= QStringConverter::Flag::ConvertInitialBom;
        // A decoder for an unknown character set decodes nothing and says it failed.
        QStringDecoder decoder(charset, flags);
        text += decoder(QByteArrayView(bytes).sliced(from, end - from));
        error = error || decoder.hasError();
        yield.Check(end - from);
        from = end;
    } while (from < bytes.size());
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
    const bool utf8 = IsUtf8Name(charset) || !QStringDecoder(charset.constData(), kFlags).isValid();
    bool error = false;
    QString text = DecodeSliced(bytes, utf8 ? "UTF-8" : charset.constData(), error);
    // UTF-8 that does not decode cleanly is read as CP932 when that does.
    if (!utf8 || !error)
        return text;
    QString fallback = DecodeSliced(bytes, kFallbackCodePage, error);
    return error ? text : fallback;
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

} // namespace toolkit
