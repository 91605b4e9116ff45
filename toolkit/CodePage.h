#pragma once

#include <QByteArray>
#include <QString>

// Conversion between text and the system's multi-byte code page: the character set of the
// user's locale. A C/POSIX locale counts as UTF-8. In a UTF-8 locale, bytes that are not
// valid UTF-8 but are valid CP932 are read as CP932, for Japanese files from older systems.
namespace toolkit {

// The character set name of the user's locale, "UTF-8" for a C/POSIX locale.
QByteArray SystemCodePageName();

// Decodes bytes from the named character set. NUL bytes become U+0000; a UTF-8 byte order
// mark at the start is dropped. Bytes that no candidate character set can read become
// substitute characters, so the rest of the text survives. An unknown name counts as UTF-8.
// A long text is decoded in slices with pending events let in between (toolkit::WorkYield),
// so any handler may run before this returns.
QString DecodeCodePage(const QByteArray& bytes, const QByteArray& charset);

// Encodes text in the named character set. Raises toolkit::Error when the text holds a
// character that the set cannot represent, rather than writing a substitute silently.
QByteArray EncodeCodePage(const QString& text, const QByteArray& charset);

inline QString DecodeSystem(const QByteArray& bytes) {
    return DecodeCodePage(bytes, SystemCodePageName());
}
inline QByteArray EncodeSystem(const QString& text) {
    return EncodeCodePage(text, SystemCodePageName());
}

} // namespace toolkit
