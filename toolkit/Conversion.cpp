#include "toolkit/Conversion.h"

#include <QRegularExpression>

#include <algorithm>

#include <locale.h>
#include <stdlib.h>

namespace toolkit {

namespace {

double radixInteger(QStringView digits, int base) {
    double value = 0;
    for (const QChar c : digits) {
        const qsizetype d = QStringView(u"0123456789abcdef").indexOf(c.toLower());
        if (d < 0 || d >= base)
            break;
        value = value * base + static_cast<double>(d);
    }
    return value;
}

} // namespace

double Val(const QString& text) {
    QString s = text;
    s.removeIf([](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; });
    // Only ASCII can belong to a number; anything else ends it.
    s.truncate(std::find_if(s.cbegin(), s.cend(), [](QChar c) { return c.unicode() >= 0x80; }) -
               s.cbegin());
    if (s.startsWith(u"&H", Qt::CaseInsensitive))
        return radixInteger(QStringView(s).mid(2), 16);
    if (s.startsWith(u"&O", Qt::CaseInsensitive))
        return radixInteger(QStringView(s).mid(2), 8);
    // The longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([EeDd][+-]?[0-9]+)?"));
    QString found = number.match(s).captured();
    if (found.isEmpty())
        return 0;
    found.replace(QLatin1Char('D'), QLatin1Char('e'), Qt::CaseInsensitive);
    // strtod gives an infinity for too large and 0 for too small, as wanted. It is given the
    // C locale: the application object takes the user's locale, whose decimal point is a
    // comma in many countries, and these texts always write it ".".
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return ::strtod_l(found.toLatin1().constData(), nullptr, cLocale);
}

} // namespace toolkit
