#include "toolkit/Conversion.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <limits>
#include <string>

using toolkit::Val;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The number in front of a text as typed into a field; beyond a double it is an infinity,
// which every bound refuses, not an error. Blanks, tabs and line breaks count for nothing. The
// decimal point is a point whatever the user's locale: the process's numeric locale is switched
// to one whose decimal point is a comma, as the application object does for a German user. CI
// machines carry only C.UTF-8, so the locale is compiled into a temporary folder for the test;
// each test runs in a process of its own.
TEST(Val, readsTheNumberInFrontOfATextAsTypedIntoAFieldWithAPointWhateverTheLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    QTemporaryDir folder;
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        ASSERT_TRUE(folder.isValid());
        // Its messages go to the test's output; it needs the packages libc-bin and locales.
        ASSERT_EQ(QProcess::execute(QStringLiteral("localedef"),
                                    {QStringLiteral("-i"), QStringLiteral("de_DE"),
                                     QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                     folder.filePath(QStringLiteral("de_DE.UTF-8"))}),
                  0);
        // setlocale looks in LOCPATH each time it loads a locale.
        ::setenv("LOCPATH", QFile::encodeName(folder.path()).constData(), 1);
    }
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {
        {u"&H1F", 31},  {u"&h1f", 31}, {u"&O17", 15},   {u"&o17", 15}, {u"- 3", -3},
        {u"1e2", 100},  {u"1D2", 100}, {u"1d-2", 0.01}, {u".5", 0.5},  {u"050", 50},
        {u"12abc", 12}, {u"", 0},      {u"+", 0},       {u"1e", 1},    {u"&H", 0},
        {u"&O19", 1},   {u"&HFG", 15}, {u"1.2.3", 1.2}, {u"1e+", 1},   {u"x", 0},
        {u"１２", 0},   {u"3１", 3},   {u"&X1", 0},     {u".", 0},     {u"1e2e3", 100},
        {u"1e400", kInf}, {u"-1e400", -kInf}, {u"1e-400", 0}, {u"7,5", 7}, {u"5\xD800", 5},
        {u"1\t2\r\n3 .5", 123.5}, {u"-0.25e2", -25}, {u"&HFFFFFFFFFFFFFFFFFFFF", 0x1p80},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(Val(text), c.value) << "«" << text.toStdString() << "»";
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

} // namespace
