#pragma once

#include <QString>

// The text cleanup written out step by step, the way it is defined: search again from the
// start after every cut. Slow, plainly right, and the yardstick for the one-pass procedures.
namespace cleanup_steps {

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

} // namespace cleanup_steps
