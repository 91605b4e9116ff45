#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: turning the fuzzer's bytes into the program's inputs, and a
// failed expectation that the fuzzer records as a crash with its input.
namespace fuzz {

// The bytes read as UTF-16 code units, low byte first; an odd last byte is dropped. Every
// unit value is possible, lone surrogates included.
inline QString Utf16(const uint8_t* data, size_t size) {
    QString text;
    text.resize(static_cast<qsizetype>(size / 2));
    for (size_t i = 0; i + 1 < size; i += 2)
        text[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    return text;
}

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The system code page of the people the readers are for, a UTF-8 locale; and an application
// object, which code that lets pending events run while it works needs. Made at the first
// call; the later ones cost nothing, so a target may call it for every input.
inline void EnsureApplication() {
    if (QCoreApplication::instance())
        return;
    ::setenv("LC_ALL", "C.UTF-8", 1);
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

inline void Expect(bool condition, const char* what, const QString& detail = QString()) {
    if (condition)
        return;
    std::fprintf(stderr, "fuzz expectation failed: %s\n%s\n", what,
                 detail.left(2000).toUtf8().constData());
    std::abort();
}

inline bool IsValidUtf8(const QByteArray& bytes) {
    QStringDecoder strict(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    // The decoder works when its result is taken, not when it is called.
    const QString text = strict.decode(bytes);
    return !strict.hasError();
}

// UTF-8 with every byte order mark kept as the character U+FEFF.
inline QString Utf8KeepingMarks(const QByteArray& bytes) {
    using C = QStringConverter;
    return QStringDecoder(C::Utf8, C::Flag::Stateless | C::Flag::ConvertInitialBom).decode(bytes);
}

inline bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Text folded onto one line: no blank at either end, no two in a row, no tab or line break.
inline void ExpectFolded(const QString& text) {
    Expect(text.isEmpty() || (!IsBlank(text.front()) && !IsBlank(text.back())), "a blank at an end", text);
    Expect(!text.contains(QStringLiteral("  ")), "two blanks in a row", text);
    for (const QChar c : text)
        Expect(c == u' ' || !IsBlank(c), "a tab or line break in the text", text);
}

} // namespace fuzz
