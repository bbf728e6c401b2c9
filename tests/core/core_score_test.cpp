#include "drill/score.h"

#include "named_rows.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using named_rows::PrintTo;

struct PercentCase {
    const char* name;
    qint32 right, wrong, percent;
};

class Percentage : public ::testing::TestWithParam<PercentCase> {};

TEST_P(Percentage, RoundsToNearest)
{
    EXPECT_EQ(drill::percentage(GetParam().right, GetParam().wrong), GetParam().percent);
}

constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr qint32 kMin = std::numeric_limits<qint32>::min();

INSTANTIATE_TEST_SUITE_P(
    Table, Percentage,
    ::testing::Values(PercentCase{"firstRight", 1, 0, 100}, PercentCase{"firstWrong", 0, 1, 0},
                      PercentCase{"justBelow58", 29, 21, 58}, PercentCase{"twoOfThree", 2, 1, 67},
                      PercentCase{"oneOfThree", 1, 2, 33}, PercentCase{"half", 1, 1, 50},
                      PercentCase{"noAnswers", 0, 0, 0}, PercentCase{"hugeCounts", kMax, kMax, 50},
                      PercentCase{"sumIsZero", 5, -5, 0}, PercentCase{"negativeRight", -1, 3, 0},
                      PercentCase{"overHundred", 3, -1, 100}, PercentCase{"hugeQuotient", kMin, kMax, 100}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DivideAnswerText, WholeQuotientAsDigits)
{
    EXPECT_EQ(drill::divideAnswerText(20, 5), "4");
    EXPECT_EQ(drill::divideAnswerText(4970, 71), "70");
    EXPECT_EQ(drill::divideAnswerText(3, 7), "0.428571428571429");
    EXPECT_EQ(drill::divideAnswerText(kMin, -1), "2147483648");
    EXPECT_EQ(drill::divideAnswerText(5, 0), "inf");
    EXPECT_EQ(drill::divideAnswerText(0, 0), "nan");
}

} // namespace
