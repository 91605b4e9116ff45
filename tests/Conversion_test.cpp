#include "toolkit/Conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using toolkit::Val;

TEST(Val, readsTheNumberInFrontOfATextAsTypedIntoAField) {
    struct Case {
        const char16_t* text;
        double value;
    };
    const Case cases[] = {
        {u"&H1F", 31},  {u"&h1f", 31}, {u"&O17", 15},   {u"&o17", 15}, {u"1 2", 12},
        {u"1e2", 100},  {u"1D2", 100}, {u"1d-2", 0.01}, {u".5", 0.5},  {u"-7", -7},
        {u"12abc", 12}, {u"", 0},      {u"+", 0},       {u"1e", 1},    {u"&H", 0},
        {u"050", 50},   {u"x", 0},     {u"7.5", 7.5},   {u"-30", -30}, {u" \t\n4\n2 ", 42},
        {u"&O19", 1},   {u"&HFG", 15}, {u"1.2.3", 1.2}, {u"1e+", 1},   {u"- 3", -3},
        {u"１２", 0},   {u"3１", 3},   {u"&X1", 0},     {u".", 0},     {u"1e2e3", 100},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_DOUBLE_EQ(Val(text), c.value) << "«" << text.toStdString() << "»";
    }
}

// Beyond a double: an infinity, which every bound refuses, not an error.
TEST(Val, numbersBeyondADoubleBecomeInfinitiesNotErrors) {
    EXPECT_EQ(Val(QStringLiteral("1e400")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val(QStringLiteral("-1e400")), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val(QStringLiteral("1e-400")), 0);
    EXPECT_GT(Val(QStringLiteral("&HFFFFFFFFFFFFFFFFFFFF")), 1.2e24);
}
