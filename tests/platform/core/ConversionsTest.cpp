#include "Conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform;

namespace {

struct RealCase {
    double in;
    std::int32_t out;
};

class RealToWhole : public ::testing::TestWithParam<RealCase> {};

// Guards: an out-of-range or NaN real reaching an undefined C++ conversion.
TEST_P(RealToWhole, IsDefinedForEveryDouble)
{
    EXPECT_EQ(RuntimeCvtReal64ToSInt32(GetParam().in), GetParam().out);
}

constexpr double inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Table, RealToWhole,
                         ::testing::Values(RealCase { 0.0, 0 }, RealCase { 2.9, 2 }, RealCase { -2.9, -2 },
                                           RealCase { 2147483646.5, 2147483646 }, RealCase { 2147483647.0, 2147483647 },
                                           RealCase { 2147483648.0, 2147483647 }, RealCase { 1e300, 2147483647 },
                                           RealCase { inf, 2147483647 }, RealCase { -2147483648.0, -2147483647 - 1 },
                                           RealCase { -2147483649.0, -2147483647 - 1 }, RealCase { -inf, -2147483647 - 1 },
                                           RealCase { std::nan(""), 0 }));

struct ValCase {
    const char* text;
    double value;
};

class ValOfText : public ::testing::TestWithParam<ValCase> {};

// Guards: Val reading past its number, taking locale commas, or failing on junk.
TEST_P(ValOfText, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(Val(String(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, ValOfText,
                         ::testing::Values(ValCase { "", 0 }, ValCase { "7", 7 }, ValCase { "  -12", -12 },
                                           ValCase { "+3", 3 }, ValCase { "4.5", 4.5 }, ValCase { ".5", 0.5 },
                                           ValCase { "5.", 5 }, ValCase { "1e3", 1000 }, ValCase { "1e", 1 },
                                           ValCase { "12abc", 12 }, ValCase { "abc", 0 }, ValCase { "-", 0 },
                                           ValCase { ".", 0 }, ValCase { "0x10", 0 }, ValCase { "inf", 0 },
                                           ValCase { "nan", 0 }, ValCase { "1,5", 1 }, ValCase { "1e-400", 0 }));

TEST(Val, OverflowGivesAnInfinityThatConvertsToTheRangeEnd)
{
    EXPECT_EQ(Val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(RuntimeCvtReal64ToSInt32(Val("-1e400")), std::numeric_limits<std::int32_t>::min());
}

TEST(Str, WritesEveryWholeNumberInDecimal)
{
    EXPECT_EQ(Str(0), String("0"));
    EXPECT_EQ(Str(-7), String("-7"));
    EXPECT_EQ(Str(std::numeric_limits<std::int32_t>::min()), String("-2147483648"));
    EXPECT_EQ(Str(2147483647), String("2147483647"));
}

}
