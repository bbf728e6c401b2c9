#include "fw/random.h"
#include "fw/text.h"

#include "named_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace {

using named_rows::PrintTo;

struct RealCase {
    const char* name;
    double value;
    const char* text;
};

class StrReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(StrReal, WritesText)
{
    EXPECT_EQ(fw::Str(GetParam().value), QString::fromLatin1(GetParam().text));
}

const double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, StrReal,
    ::testing::Values(RealCase{"whole", 7.0, "7"}, RealCase{"zero", 0.0, "0"}, RealCase{"negativeZero", -0.0, "0"},
                      RealCase{"negativeWhole", -12.0, "-12"}, RealCase{"quotient5000", 5000.0 / 100.0, "50"},
                      RealCase{"half", 0.5, "0.5"}, RealCase{"negativeFraction", -2.25, "-2.25"},
                      RealCase{"twoThirds", 200.0 / 3.0, "66.6666666666667"},
                      RealCase{"third", 1.0 / 3.0, "0.333333333333333"}, RealCase{"small", 0.00012, "0.00012"},
                      RealCase{"bigWhole", 9007199254740993.0, "9007199254740992"},
                      RealCase{"beyondInt64", 1e300, "1e+300"}, RealCase{"nan", std::nan(""), "nan"},
                      RealCase{"inf", kInf, "inf"}, RealCase{"minusInf", -kInf, "-inf"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Str, WholeNumbers)
{
    EXPECT_EQ(fw::Str(qint32(0)), "0");
    EXPECT_EQ(fw::Str(qint32(-45)), "-45");
    EXPECT_EQ(fw::Str(std::numeric_limits<qint32>::min()), "-2147483648");
}

TEST(Str, RealsStayPlainAndShort)
{
    for (double v : {1e-300, 5e-324, 4503599627370495.5, -1e-5, 123456.789012345678}) {
        const QString text = fw::Str(v);
        EXPECT_LE(text.size(), 40) << text.toStdString();
    }
    // Not whole, so 15 significant digits, no exponent.
    EXPECT_EQ(fw::Str(4503599627370495.5), "4503599627370500");
}

TEST(InStr, FindsFromPositionIgnoringAsciiCase)
{
    EXPECT_EQ(fw::InStr("abcabc", "c"), 3);
    EXPECT_EQ(fw::InStr("abcabc", "BC"), 2);
    EXPECT_EQ(fw::InStr(3, "abcabc", "bc"), 5);
    EXPECT_EQ(fw::InStr(-7, "abcabc", "a"), 1);
    EXPECT_EQ(fw::InStr(6, "abcabc", "c"), 6);
    EXPECT_EQ(fw::InStr(7, "abcabc", "c"), 0);
    EXPECT_EQ(fw::InStr(std::numeric_limits<int>::max(), "abc", "c"), 0);
    EXPECT_EQ(fw::InStr("abc", ""), 0);
    EXPECT_EQ(fw::InStr("", "a"), 0);
    EXPECT_EQ(fw::InStr("abc", "abcd"), 0);
    // Only ASCII letters fold: a dotless i or a sharp s are not I or SS.
    EXPECT_EQ(fw::InStr(QStringLiteral("\u0131"), "I"), 0);
    EXPECT_EQ(fw::InStr(QStringLiteral("\u00df"), "SS"), 0);
}

TEST(Mid, ClampsStartAndLength)
{
    EXPECT_EQ(fw::Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(fw::Mid("abcdef", 0, 2), "ab");
    EXPECT_EQ(fw::Mid("abcdef", 5, 100), "ef");
    EXPECT_EQ(fw::Mid("abcdef", 7, 1), "");
    EXPECT_EQ(fw::Mid("abcdef", 2, 0), "");
    EXPECT_EQ(fw::Mid("abcdef", 2, -5), "");
    EXPECT_EQ(fw::Mid("abcdef", std::numeric_limits<int>::min(), std::numeric_limits<int>::max()), "abcdef");
    EXPECT_EQ(fw::Mid("abcdef", 4), "def");
    EXPECT_EQ(fw::Mid("abcdef", std::numeric_limits<int>::max()), "");
}

TEST(NthField, CutsAtSeparator)
{
    EXPECT_EQ(fw::NthField("3.3.0", ".", 1), "3");
    EXPECT_EQ(fw::NthField("3.3.0", ".", 3), "0");
    EXPECT_EQ(fw::NthField("3.3", ".", 3), "");
    EXPECT_EQ(fw::NthField("a..b", ".", 2), "");
    EXPECT_EQ(fw::NthField("a..b", ".", 3), "b");
    EXPECT_EQ(fw::NthField("aXbxc", "x", 3), "c");
    EXPECT_EQ(fw::NthField("abc", ".", 1), "abc");
    EXPECT_EQ(fw::NthField("abc", ".", 0), "");
    EXPECT_EQ(fw::NthField("abc", "", 1), "abc");
    EXPECT_EQ(fw::NthField("abc", "", 2), "");
    EXPECT_EQ(fw::NthField("", ".", 1), "");
    EXPECT_EQ(fw::NthField("a.b", ".", std::numeric_limits<int>::max()), "");
}

struct ValCase {
    const char* name;
    const char* text;
    double value;
};

class Val : public ::testing::TestWithParam<ValCase> {};

TEST_P(Val, ReadsLeadingNumber)
{
    EXPECT_EQ(fw::Val(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Val,
    ::testing::Values(ValCase{"digits", "42", 42}, ValCase{"leadingZero", "03", 3}, ValCase{"empty", "", 0},
                      ValCase{"letters", "abc", 0}, ValCase{"trailingText", "12abc", 12},
                      ValCase{"pointEndsNumber", "1.5x", 1}, ValCase{"letterFirst", "x1", 0},
                      ValCase{"blankFirst", " 1", 0}, ValCase{"tabFirst", "\t9", 0},
                      ValCase{"plusFirst", "+1", 0}, ValCase{"minusFirst", "-7", 0},
                      ValCase{"pointFirst", ".5", 0}, ValCase{"noExponent", "1e3", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Val, HugeDigitRunsNeverOverflow)
{
    EXPECT_EQ(fw::Val(QString(400, u'9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(fw::Val(QString(400, u'0') + QStringLiteral("5")), 5.0);
}

TEST(TextEquals, IgnoresAsciiCaseOnly)
{
    EXPECT_TRUE(fw::TextEquals("xii", "XII"));
    EXPECT_TRUE(fw::TextEquals("", ""));
    EXPECT_FALSE(fw::TextEquals("12", "12 "));
    EXPECT_FALSE(fw::TextEquals(QStringLiteral("\u00e9"), QStringLiteral("\u00c9")));
    EXPECT_FALSE(fw::TextEquals("Add", "Ad"));
}

TEST(Random, ScriptComesFirstThenRealDrawsWithinBounds)
{
    fw::Random random;
    fw::testing::scriptRandom({99, -5});
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 2u);
    EXPECT_EQ(random.InRange(1, 10), 99);
    EXPECT_EQ(random.InRange(1, 10), -5);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);

    std::set<qint32> seen;
    for (int i = 0; i < 2000; ++i) {
        const qint32 v = random.InRange(1, 5);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 5);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 5u) << "both bounds are included";

    constexpr qint32 kMin = std::numeric_limits<qint32>::min();
    constexpr qint32 kMax = std::numeric_limits<qint32>::max();
    for (int i = 0; i < 100; ++i) {
        const qint32 v = random.InRange(kMax - 1, kMax);
        ASSERT_TRUE(v == kMax - 1 || v == kMax);
        const qint32 w = random.InRange(kMin, kMin + 1);
        ASSERT_TRUE(w == kMin || w == kMin + 1);
        random.InRange(kMin, kMax);
    }
    EXPECT_EQ(random.InRange(kMax, kMax), kMax);
    EXPECT_EQ(random.InRange(5, 4), 5);

    fw::testing::scriptRandom({1, 2, 3});
    fw::testing::clearRandomScript();
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
}

} // namespace
