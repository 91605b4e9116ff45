#include "toolkit/Conversion.h"

#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace toolkit {

namespace {

bool skipped(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

int digitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

double radixInteger(const std::string& s, std::size_t from, int base) {
    double value = 0;
    for (std::size_t i = from; i < s.size(); ++i) {
        const int d = digitValue(s[i], base);
        if (d < 0)
            break;
        value = value * base + d;
    }
    return value;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

double Val(const QString& text) {
    // Only ASCII can belong to a number; anything else ends it.
    std::string s;
    s.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        if (skipped(c))
            continue;
        s += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\x7f';
    }
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h')
            return radixInteger(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o')
            return radixInteger(s, 2, 8);
    }
    // The longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        number += s[i++];
    bool mantissa = false;
    while (i < s.size() && isDigit(s[i])) {
        number += s[i++];
        mantissa = true;
    }
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && isDigit(s[i])) {
            number += s[i++];
            mantissa = true;
        }
    }
    if (!mantissa)
        return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent += s[j++];
        const std::size_t digitsFrom = j;
        while (j < s.size() && isDigit(s[j]))
            exponent += s[j++];
        if (j > digitsFrom)
            number += exponent;
    }
    // strtod gives an infinity for too large and 0 for too small, as wanted. It is given the
    // C locale: the application object takes the user's locale, whose decimal point is a
    // comma in many countries, and these texts always write it ".".
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return ::strtod_l(number.c_str(), nullptr, cLocale);
}

} // namespace toolkit
