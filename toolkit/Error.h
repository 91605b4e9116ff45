#pragma once

#include <QString>

#include <cstdint>
#include <exception>

namespace toolkit {

// The error that every failing operation raises to its caller. It carries the
// classic run-time error number and its text; the dispatch boundary shows the
// text and lets the application carry on.
class Error : public std::exception {
public:
    Error(int32_t number, QString description);

    int32_t Number() const noexcept { return m_lngNumber; }
    const QString& Description() const noexcept { return m_strDescription; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    static Error Overflow();                      // 6
    static Error SubscriptOutOfRange();           // 9
    static Error InvalidProcedureCall();          // 5
    static Error ObjectNotSet();                  // 91
    static Error InputPastEndOfFile();            // 62
    static Error OutOfMemory();                   // 7
    static Error InvalidPropertyValue();          // 380

private:
    int32_t m_lngNumber;
    QString m_strDescription;
    QByteArray m_utf8;
};

} // namespace toolkit
