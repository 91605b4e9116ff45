// The text cleanup on arbitrary UTF-16: line breaks to one replacement, then enclosed spans
// cut. The one-pass procedures must give exactly what cutting and searching again from the
// start gives, step by step, on every text, including lone surrogates; longer delimiters and
// replacements take the plain procedures, which must agree all the same.
//
// Input: one mode byte, then UTF-16 code units. Mode 0 to 127: the panel's cleanup (a blank
// for line breaks, "<" and ">"). Mode 128 to 255: the delimiters and the replacement are
// taken from the first units, their lengths from the mode's bits.

#include "app/ModuleMain.h"

#include "FuzzInput.h"
#include "support/Overrides.h"

#include <chrono>

// The text cleanup written out step by step, the way it is defined: search again from the
// start after every cut. Slow, plainly right, and the yardstick for the one-pass procedures.
namespace {

// The position of the first `what` at or after position start (1-based), 0 if none.
inline qsizetype InStr(qsizetype start, const QString& text, const QString& what) {
    if (start > text.size())
        return 0;
    const qsizetype at = text.indexOf(what, start - 1);
    return at < 0 ? 0 : at + 1;
}

// Finds an opening delimiter from the start, the closing one from one character after it,
// keeps what is before and after, and searches again.
inline void StripEnclosedSteps(QString& rstrText, const QString& vstrOpen,
                               const QString& vstrClose) {
    qsizetype a = InStr(1, rstrText, vstrOpen);
    while (a != 0) {
        const qsizetype b = InStr(a + 1, rstrText, vstrClose);
        if (b == 0)
            break;
        rstrText = rstrText.left(a - 1) + rstrText.mid(b); // Left(a - 1) & Mid(b + 1)
        a = InStr(1, rstrText, vstrOpen);
    }
}

// Replaces every break of the first kind found: CR LF pairs, else LF, else CR.
inline bool ReplaceNewLineSteps(QString& rstrText, const QString& vstrReplace) {
    for (const QString& lineBreak :
         {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")}) {
        if (InStr(1, rstrText, lineBreak) != 0) {
            rstrText.replace(lineBreak, vstrReplace);
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnsureApplication();
    // Every clock read lets events run, so that path is taken on short inputs too.
    static const testsupport::ScopedWorkYieldInterval everyRead{std::chrono::nanoseconds::zero()};
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    QString units = fuzz::Utf16(data + 1, size - 1);

    QString open = QStringLiteral("<");
    QString close = QStringLiteral(">");
    QString replace = QStringLiteral(" ");
    if (mode & 0x80) {
        const qsizetype openLength = 1 + (mode & 3);
        const qsizetype closeLength = 1 + (mode >> 2 & 3);
        const qsizetype replaceLength = mode >> 4 & 3;
        if (units.size() < openLength + closeLength + replaceLength)
            return 0;
        open = units.left(openLength);
        close = units.mid(openLength, closeLength);
        replace = units.mid(openLength + closeLength, replaceLength);
        units.remove(0, openLength + closeLength + replaceLength);
    }

    QString actual = units;
    const bool replaced = ModuleMain::ReplaceNewLine(actual, replace);
    ModuleMain::StripEnclosed(actual, open, close);
    // Inputs stay far below the length where the quadratic steps would slow the run; the
    // failing input is kept as the fuzzer's artifact.
    QString expected = units;
    fuzz::Expect(replaced == ReplaceNewLineSteps(expected, replace),
                 "ReplaceNewLine reported another outcome");
    StripEnclosedSteps(expected, open, close);
    fuzz::Expect(actual == expected, "the cleanup differs from the steps");
    return 0;
}
