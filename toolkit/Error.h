#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <utility>

namespace toolkit {

// The error that every failing operation raises to its caller. It carries the
// classic run-time error number and its text; the dispatch boundary shows the
// text and lets the application carry on.
class Error : public std::exception {
public:
    Error(int32_t number, QString description)
        : m_lngNumber(number), m_strDescription(std::move(description)),
          m_utf8(m_strDescription.toUtf8()) {}

    int32_t Number() const noexcept { return m_lngNumber; }
    const QString& Description() const noexcept { return m_strDescription; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static Error InvalidProcedureCall() {
        return {5, QStringLiteral("Invalid procedure call or argument")};
    }
    static Error Overflow() { return {6, QStringLiteral("Overflow")}; }
    static Error OutOfMemory() { return {7, QStringLiteral("Out of memory")}; }
    static Error SubscriptOutOfRange() { return {9, QStringLiteral("Subscript out of range")}; }
    static Error InputPastEndOfFile() { return {62, QStringLiteral("Input past end of file")}; }
    static Error ObjectNotSet() { return {91, QStringLiteral("Object variable not set")}; }
    static Error InvalidPropertyValue() { return {380, QStringLiteral("Invalid property value")}; }

private:
    int32_t m_lngNumber;
    QString m_strDescription;
    QByteArray m_utf8;
};

} // namespace toolkit
