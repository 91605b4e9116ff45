#pragma once

#include <QString>

namespace toolkit {

// The number at the start of a text. Blanks, tabs and line feeds are skipped
// wherever they stand. Then "&H" or "&O" starts a hexadecimal or octal
// integer; otherwise an optional sign, digits, a decimal point "." with
// digits and an exponent (E or D, optional sign, digits) are read as far as
// they go. A text with no number in front is 0. A number too large for a
// double is an infinity of its sign, never an error: callers compare it
// against their bounds.
double Val(const QString& text);

} // namespace toolkit
