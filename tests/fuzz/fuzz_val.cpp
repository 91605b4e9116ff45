// The number at the start of a text, as typed into the speed and timing boxes, checked against
// properties that hold for every text without a second reading of the rules:
//   - the result is never NaN;
//   - blanks, tabs and line breaks never change the value, wherever they stand;
//   - nothing after a "z" (which no number holds) changes the value;
//   - a sign in front of a text that starts with a digit or point negates or keeps the value;
//   - the first eight bytes, read as a finite double, come back exactly from its shortest
//     decimal text (with E or D), and as an integer below 2^53 from its &H and &O texts.
//
// Input: one mode byte, then the text: UTF-8 for even modes (typed text), UTF-16 for odd.

#include "toolkit/Conversion.h"

#include "FuzzInput.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

void ExpectSame(double actual, double expected, const char* what, const QString& text) {
    if (std::memcmp(&actual, &expected, sizeof actual) != 0 && !(actual == 0 && expected == 0))
        fuzz::Fail(what, QStringLiteral("\"%1\" read %2, expected %3")
                             .arg(text.left(300))
                             .arg(actual, 0, 'g', 17)
                             .arg(expected, 0, 'g', 17));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const QString text = data[0] % 2 == 0 ? QString::fromUtf8(fuzz::Bytes(data + 1, size - 1))
                                          : fuzz::Utf16(data + 1, size - 1);
    using toolkit::Val;
    const double value = Val(text);
    fuzz::Expect(!std::isnan(value), "the value is NaN", text.left(300));

    QString squeezed = text;
    squeezed.removeIf([](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; });
    ExpectSame(Val(squeezed), value, "blanks, tabs or line breaks changed the value", text);
    if (const qsizetype z = text.indexOf(u'z'); z >= 0)
        ExpectSame(Val(text.left(z)), value, "what follows a z changed the value", text);
    if (!squeezed.isEmpty() && (squeezed[0].isDigit() || squeezed[0] == u'.') && squeezed[0].unicode() < 0x80) {
        ExpectSame(Val(QLatin1Char('-') + text), -value, "a minus did not negate", text);
        ExpectSame(Val(QLatin1Char('+') + text), value, "a plus changed the value", text);
    }

    if (size < 9)
        return 0;
    double number = 0;
    std::memcpy(&number, data + 1, sizeof number);
    if (std::isfinite(number)) {
        const QString decimal = QString::number(number, 'g', 17);
        ExpectSame(Val(decimal), number, "a double's decimal text read otherwise", decimal);
        const QString withD = QString(decimal).replace(u'e', u'D');
        ExpectSame(Val(withD), number, "a double's decimal text with D read otherwise", withD);
    }
    uint64_t integer = 0;
    std::memcpy(&integer, data + 1, sizeof integer);
    integer &= (uint64_t{1} << 53) - 1;
    const QString hex = QStringLiteral("&H") + QString::number(integer, 16).toUpper();
    ExpectSame(Val(hex), static_cast<double>(integer), "a hexadecimal integer read otherwise", hex);
    const QString octal = QStringLiteral("&o") + QString::number(integer, 8);
    ExpectSame(Val(octal), static_cast<double>(integer), "an octal integer read otherwise", octal);
    return 0;
}
