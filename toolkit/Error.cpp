#include "toolkit/Error.h"

#include <utility>

namespace toolkit {

Error::Error(int32_t number, QString description)
    : m_lngNumber(number), m_strDescription(std::move(description)),
      m_utf8(m_strDescription.toUtf8()) {}

Error Error::InvalidProcedureCall() { return {5, QStringLiteral("Invalid procedure call or argument")}; }
Error Error::Overflow() { return {6, QStringLiteral("Overflow")}; }
Error Error::OutOfMemory() { return {7, QStringLiteral("Out of memory")}; }
Error Error::SubscriptOutOfRange() { return {9, QStringLiteral("Subscript out of range")}; }
Error Error::InputPastEndOfFile() { return {62, QStringLiteral("Input past end of file")}; }
Error Error::InvalidPropertyValue() { return {380, QStringLiteral("Invalid property value")}; }
Error Error::ObjectNotSet() { return {91, QStringLiteral("Object variable not set")}; }

} // namespace toolkit
