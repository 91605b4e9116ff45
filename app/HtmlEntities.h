#pragma once

#include <optional>
#include <utility>

namespace WebText {

// The character (or pair of characters; the second is 0 when there is one) that a named
// character reference of HTML stands for, by its name without "&" and ";"; nothing for a
// name HTML does not know. Names are case-sensitive ("Eacute" is not "eacute").
std::optional<std::pair<char32_t, char32_t>> HtmlEntity(const char* name);

} // namespace WebText
