// The number at the start of a text, as typed into the speed and timing boxes. Checked
// against properties that hold for every text: blanks, tabs and line feeds never change the
// value; a decimal number reads exactly as the correctly rounded, locale-free reading of its
// longest well-formed prefix; &H and &O integers of up to 52 bits read exactly; the result is
// never NaN.
//
// Input: one mode byte, then the text: UTF-8 for even modes (typed text), UTF-16 for odd.

#include "toolkit/Conversion.h"

#include "FuzzInput.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>

namespace {

bool Ignored(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The value as the reading rules give it, computed independently of the code under test.
// Returns false when only a bound is known: for an integer beyond 2^53, `value` is 2^53 and
// the result must be at least that; for a decimal beyond a double's range, the result must
// be a zero or an infinity of the sign of `value`.
bool Expected(const QString& squeezed, double& value) {
    const qsizetype n = squeezed.size();
    if (n >= 2 && squeezed[0] == QLatin1Char('&')) {
        const ushort kind = squeezed[1].unicode();
        const int base = kind == 'H' || kind == 'h' ? 16 : kind == 'O' || kind == 'o' ? 8 : 0;
        if (base != 0) {
            uint64_t integer = 0;
            for (qsizetype i = 2; i < n; ++i) {
                const ushort u = squeezed[i].unicode();
                int d = -1;
                if (u >= '0' && u <= '9')
                    d = u - '0';
                else if (base == 16 && u >= 'a' && u <= 'f')
                    d = u - 'a' + 10;
                else if (base == 16 && u >= 'A' && u <= 'F')
                    d = u - 'A' + 10;
                if (d < 0 || d >= base)
                    break;
                integer = integer * base + d;
                if (integer >= (uint64_t{1} << 53)) {
                    value = 0x1p53;
                    return false;
                }
            }
            value = static_cast<double>(integer);
            return true;
        }
    }
    std::string text;
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (squeezed[i] == QLatin1Char('+') || squeezed[i] == QLatin1Char('-')))
        negative = squeezed[i++] == QLatin1Char('-');
    bool digits = false;
    for (; i < n && IsDigit(squeezed[i]); ++i, digits = true)
        text += static_cast<char>(squeezed[i].unicode());
    if (i < n && squeezed[i] == QLatin1Char('.')) {
        text += '.';
        for (++i; i < n && IsDigit(squeezed[i]); ++i, digits = true)
            text += static_cast<char>(squeezed[i].unicode());
    }
    if (!digits) {
        value = 0;
        return true;
    }
    if (i < n && QStringLiteral("EeDd").contains(squeezed[i])) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < n && (squeezed[j] == QLatin1Char('+') || squeezed[j] == QLatin1Char('-')))
            exponent += static_cast<char>(squeezed[j++].unicode());
        const qsizetype from = j;
        for (; j < n && IsDigit(squeezed[j]); ++j)
            exponent += static_cast<char>(squeezed[j].unicode());
        if (j > from)
            text += exponent;
    }
    if (text.front() == '.')
        text.insert(text.begin(), '0');
    double magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        value = negative ? -1.0 : 1.0;
        return false;
    }
    fuzz::Expect(error == std::errc() && end == text.data() + text.size(),
                 "the reference could not read its own prefix", QString::fromStdString(text));
    value = negative ? -magnitude : magnitude;
    return true;
}

QString Show(const QString& text, double actual, double expected) {
    return QStringLiteral("text \"%1\" read %2, expected %3")
        .arg(text.left(300))
        .arg(actual, 0, 'g', 17)
        .arg(expected, 0, 'g', 17);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const QString text = data[0] % 2 == 0
                             ? QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                                 static_cast<qsizetype>(size - 1))
                             : fuzz::Utf16(data + 1, size - 1);
    const double actual = toolkit::Val(text);
    fuzz::Expect(!std::isnan(actual), "the value is NaN", text.left(300));

    QString squeezed = text;
    squeezed.removeIf(Ignored);
    const double squeezedValue = toolkit::Val(squeezed);
    fuzz::Expect(std::memcmp(&actual, &squeezedValue, sizeof actual) == 0,
                 "blanks, tabs or line feeds changed the value", Show(text, actual, squeezedValue));

    double expected = 0;
    if (Expected(squeezed, expected)) {
        fuzz::Expect(actual == expected, "the value is not the reading of the number in front",
                     Show(text, actual, expected));
    } else if (expected == 0x1p53) {
        fuzz::Expect(actual >= expected, "a long &H or &O integer read too small",
                     Show(text, actual, expected));
    } else {
        const bool signOk = std::signbit(actual) == std::signbit(expected);
        fuzz::Expect(signOk && (std::isinf(actual) || actual == 0),
                     "a number beyond range read as something else", Show(text, actual, expected));
    }
    return 0;
}
