#include "drill/generators.h"
#include "fw/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

using drill::AlgebraDraw;
using drill::ArithmeticDraw;
using drill::Level;

constexpr int kDraws = 20000;

class Generators : public ::testing::Test {
protected:
    void SetUp() override { fw::testing::clearRandomScript(); }
    void TearDown() override { fw::testing::clearRandomScript(); }

    fw::Random random;
};

std::string describe(const ArithmeticDraw& d)
{
    return "First=" + std::to_string(d.First) + " Second=" + std::to_string(d.Second);
}

// The equation as the window shows it, read back from the label texts.
struct ShownEquation {
    qint64 p, q, y, t;
    QString s, v;
};

ShownEquation shown(const AlgebraDraw& d)
{
    return {fw::Str(d.P).toLongLong(), fw::Str(d.Q).toLongLong(), fw::Str(d.Y).toLongLong(),
            fw::Str(d.T).toLongLong(), d.S, d.V};
}

std::string describe(const AlgebraDraw& d)
{
    return "P=" + std::to_string(d.P) + " Q=" + std::to_string(d.Q) + " Y=" + std::to_string(d.Y)
        + " T=" + std::to_string(d.T) + " S=" + d.S.toStdString() + " V=" + d.V.toStdString()
        + " X=" + std::to_string(d.AlgebraAnswer);
}

qint64 signed_(const QString& sign, qint64 value)
{
    return sign == "+" ? value : -value;
}

void checkEasy(const AlgebraDraw& d)
{
    const ShownEquation e = shown(d);
    const qint64 x = d.AlgebraAnswer;
    ASSERT_TRUE(e.s == "+" || e.s == "-") << describe(d);
    EXPECT_EQ(e.p * x, e.q + signed_(e.s, e.y)) << describe(d); // P X = Q S Y
    EXPECT_GE(e.q, e.y) << describe(d);
    EXPECT_GE(x, 2) << describe(d);
}

void checkMedium(const AlgebraDraw& d)
{
    const ShownEquation e = shown(d);
    const qint64 x = d.AlgebraAnswer;
    ASSERT_TRUE(e.s == "+" || e.s == "-") << describe(d);
    EXPECT_EQ(e.p * x + signed_(e.s, e.q), e.y) << describe(d); // P X S Q = Y
    EXPECT_GE(x, 11) << describe(d);
}

void checkHard(const AlgebraDraw& d)
{
    const ShownEquation e = shown(d);
    const qint64 x = d.AlgebraAnswer;
    ASSERT_TRUE(e.s == "+" || e.s == "-") << describe(d);
    ASSERT_TRUE(e.v == "+" || e.v == "-") << describe(d);
    EXPECT_EQ(e.p * x + signed_(e.s, e.q), e.y * x + signed_(e.v, e.t)) << describe(d); // P X S Q = Y X V T
    EXPECT_GE(x, 4) << describe(d);
    EXPECT_FALSE(e.s == "+" && e.v == "-") << describe(d);
    if (e.s == "+" && e.v == "+") {
        EXPECT_GT(e.t, e.q) << describe(d);
    }
    if (e.s == "-" && e.v == "-") {
        EXPECT_GT(e.q, e.t) << describe(d);
    }
}

// What an earlier Hard problem left behind, which Easy and Medium keep.
AlgebraDraw leftByHard()
{
    AlgebraDraw d;
    d.T = 77;
    d.RandomOp2 = 8;
    d.V = "-";
    return d;
}

// ---- Exact problems from scripted draws -------------------------------------

TEST_F(Generators, ArithmeticRedrawsEqualSecondAndPutsLargerFirst)
{
    fw::testing::scriptRandom({3, 3, 7});
    ArithmeticDraw d;
    ASSERT_TRUE(drill::drawRandomNumbers(random, 2, 10, false, Level::Easy, d));
    EXPECT_EQ(d.First, 7);
    EXPECT_EQ(d.Second, 3);
    EXPECT_EQ(d.Temp, 3);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
}

TEST_F(Generators, ArithmeticWithoutSwapLeavesTemp)
{
    fw::testing::scriptRandom({9, 4});
    ArithmeticDraw d{.First = 0, .Second = 0, .Temp = -1};
    ASSERT_TRUE(drill::drawRandomNumbers(random, 2, 10, false, Level::Hard, d));
    EXPECT_EQ(d.First, 9);
    EXPECT_EQ(d.Second, 4);
    EXPECT_EQ(d.Temp, -1);
}

struct DivideScript {
    const char* name;
    Level level;
    qint32 low, high;
    std::vector<qint32> draws;
    qint32 first, second;
};

class DivideScripted : public Generators, public ::testing::WithParamInterface<DivideScript> {};

TEST_P(DivideScripted, GivesProblem)
{
    const DivideScript& c = GetParam();
    fw::testing::scriptRandom(c.draws);
    ArithmeticDraw d;
    ASSERT_TRUE(drill::drawRandomNumbers(random, c.low, c.high, true, c.level, d));
    EXPECT_EQ(d.First, c.first);
    EXPECT_EQ(d.Second, c.second);
    EXPECT_EQ(d.Temp, c.level == Level::None ? c.second : c.first);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DivideScripted,
    ::testing::Values(
        // 7 x 3 = 21 is over 20: both drawn again; 4 x 5 = 20 is accepted.
        DivideScript{"easyLimitInclusive", Level::Easy, 2, 10, {7, 3, 4, 5}, 20, 5},
        DivideScript{"mediumRedrawEqual", Level::Medium, 6, 25, {25, 25, 20}, 500, 25},
        DivideScript{"hardOverLimit", Level::Hard, 11, 75, {75, 70, 12, 11}, 132, 12},
        DivideScript{"noLevelNoLimit", Level::None, 2, 10, {3, 7}, 3, 7}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Generators, AlgebraEasyScripted)
{
    // Q < Y: swapped to Q 9, Y 5; 14 and 15 are not multiples of 4, 16 is.
    fw::testing::scriptRandom({4, 5, 9, 3});
    AlgebraDraw d = leftByHard();
    ASSERT_TRUE(drill::drawAlgebraEasy(random, 2, 10, d));
    EXPECT_EQ(describe(d), "P=4 Q=11 Y=5 T=77 S=+ V=- X=4");
    EXPECT_EQ(d.RandomOp1, 3);
    EXPECT_EQ(d.RandomOp2, 8);

    // 10 - 1 = 9 misses, 11 - 1 = 10 gives X = 1: raised by ten to 21 - 1 = 20, X = 2.
    fw::testing::scriptRandom({10, 10, 1, 8});
    ASSERT_TRUE(drill::drawAlgebraEasy(random, 2, 10, d));
    EXPECT_EQ(describe(d), "P=10 Q=21 Y=1 T=77 S=- V=- X=2");
}

TEST_F(Generators, AlgebraMediumScripted)
{
    fw::testing::scriptRandom({3, 5, 10, 2});
    AlgebraDraw d = leftByHard();
    ASSERT_TRUE(drill::drawAlgebraMedium(random, 2, 10, d));
    EXPECT_EQ(describe(d), "P=3 Q=5 Y=47 T=77 S=+ V=- X=14");

    fw::testing::scriptRandom({2, 10, 1, 6});
    ASSERT_TRUE(drill::drawAlgebraMedium(random, 2, 10, d));
    EXPECT_EQ(describe(d), "P=2 Q=10 Y=12 T=77 S=- V=- X=11");
    EXPECT_EQ(d.RandomOp1, 6);
}

TEST_F(Generators, AlgebraHardScripted)
{
    fw::testing::scriptRandom({
        // P - Y = 0: a new attempt.
        5, 3, 20, 5, 1, 1, 4,
        // Swapped to P 9, Y 2 and Q 10, T 30; "-" "-" swaps Q and T back;
        // 31 - 10 = 21 gives X = 3, below the drawn 4: a new attempt.
        2, 30, 10, 9, 7, 8, 4,
        // "-" "+": Q rises from 8 to 13, where 13 + 50 = 63 = 7 x 9.
        10, 50, 8, 3, 6, 2, 5,
    });
    AlgebraDraw d;
    drill::GeneratorStats stats;
    ASSERT_TRUE(drill::drawAlgebraHard(random, 2, 50, d, &stats));
    EXPECT_EQ(describe(d), "P=10 Q=13 Y=3 T=50 S=- V=+ X=9");
    EXPECT_EQ(d.RandomOp1, 6);
    EXPECT_EQ(d.RandomOp2, 2);
    EXPECT_EQ(stats.attempts, 3);
    EXPECT_EQ(stats.draws, 21);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);

    // "+" "+": T - Q = 2 is raised by ten to 12 against P - Y = 10, then to 20:
    // X = 2 is below 4, so a new attempt, which finds 21 - 3 = 18 = 3 x 6.
    fw::testing::scriptRandom({12, 20, 22, 2, 5, 9, 4, 5, 3, 20, 2, 1, 9, 4});
    ASSERT_TRUE(drill::drawAlgebraHard(random, 2, 30, d));
    EXPECT_EQ(describe(d), "P=5 Q=3 Y=2 T=21 S=+ V=+ X=6");
}

// ---- Invariants over many random draws --------------------------------------

TEST_F(Generators, EasyDivideGivesOnlyTheTwelveProblems)
{
    const std::set<std::pair<qint32, qint32>> allowed = {{6, 3},   {8, 4},   {10, 5}, {12, 6},
                                                         {14, 7},  {16, 8},  {18, 9}, {20, 10},
                                                         {12, 4},  {15, 5},  {18, 6}, {20, 5}};
    std::set<std::pair<qint32, qint32>> seen;
    ArithmeticDraw d;
    for (int i = 0; i < kDraws; ++i) {
        ASSERT_TRUE(drill::drawRandomNumbers(random, 2, 10, true, Level::Easy, d));
        ASSERT_TRUE(allowed.count({d.First, d.Second})) << describe(d);
        EXPECT_EQ(d.Temp, d.First);
        seen.insert({d.First, d.Second});
    }
    EXPECT_EQ(seen, allowed);
}

struct DivideRange {
    const char* name;
    Level level;
    qint32 low, high, limit, fewestQuotient, mostQuotient;
};

class DivideInvariants : public Generators, public ::testing::WithParamInterface<DivideRange> {};

TEST_P(DivideInvariants, WholeQuotientBelowDivisorWithinLimit)
{
    const DivideRange& c = GetParam();
    qint32 least = std::numeric_limits<qint32>::max(), most = 0;
    ArithmeticDraw d;
    // The largest Hard quotient, 70, comes only from 4970 / 71: one pair in 2060.
    for (int i = 0; i < 5 * kDraws; ++i) {
        ASSERT_TRUE(drill::drawRandomNumbers(random, c.low, c.high, true, c.level, d));
        ASSERT_EQ(d.First % d.Second, 0) << describe(d);
        const qint32 quotient = d.First / d.Second;
        ASSERT_GT(d.Second, quotient) << describe(d);
        ASSERT_LE(d.First, c.limit) << describe(d);
        ASSERT_GE(quotient, c.low) << describe(d);
        ASSERT_LE(d.Second, c.high) << describe(d);
        least = std::min(least, quotient);
        most = std::max(most, quotient);
    }
    EXPECT_EQ(least, c.fewestQuotient);
    EXPECT_EQ(most, c.mostQuotient);
}

INSTANTIATE_TEST_SUITE_P(Table, DivideInvariants,
                         ::testing::Values(DivideRange{"medium", Level::Medium, 6, 25, 500, 6, 21},
                                           DivideRange{"hard", Level::Hard, 11, 75, 5000, 11, 70}),
                         [](const auto& info) { return std::string(info.param.name); });

// Every (operation, level) range of both selection tables, through the generator
// New Problem picks for it.
struct Selection {
    const char* name;
    const char* operation;
    Level level;
    qint32 low, high;
};

class SelectionRanges : public Generators, public ::testing::WithParamInterface<Selection> {};

TEST_P(SelectionRanges, EveryProblemIsValid)
{
    const Selection& c = GetParam();
    const QString op = QString::fromLatin1(c.operation);
    for (int i = 0; i < kDraws / 4; ++i) {
        if (op == "Algebra") {
            AlgebraDraw d;
            if (c.level == Level::Easy) {
                ASSERT_TRUE(drill::drawAlgebraEasy(random, c.low, c.high, d));
                ASSERT_NO_FATAL_FAILURE(checkEasy(d));
            } else if (c.level == Level::Medium) {
                ASSERT_TRUE(drill::drawAlgebraMedium(random, c.low, c.high, d));
                ASSERT_NO_FATAL_FAILURE(checkMedium(d));
            } else {
                ASSERT_TRUE(drill::drawAlgebraHard(random, c.low, c.high, d));
                ASSERT_NO_FATAL_FAILURE(checkHard(d));
            }
            ASSERT_GE(d.P, c.low);
            ASSERT_LE(d.P, c.high);
            continue;
        }
        ArithmeticDraw d;
        const bool divide = op == "Divide";
        ASSERT_TRUE(drill::drawRandomNumbers(random, c.low, c.high, divide, c.level, d));
        if (divide) {
            ASSERT_EQ(d.First % d.Second, 0) << describe(d);
            ASSERT_GT(d.Second, d.First / d.Second) << describe(d);
            continue;
        }
        ASSERT_GT(d.First, d.Second) << describe(d);
        ASSERT_LE(d.First, c.high) << describe(d);
        ASSERT_GE(d.Second, c.low) << describe(d);
        if (op == "Roman") {
            ASSERT_LE(d.First + d.Second, 1000) << describe(d);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SelectionRanges,
    ::testing::Values(
        Selection{"AddEasy", "Add", Level::Easy, 2, 10}, Selection{"AddMedium", "Add", Level::Medium, 11, 80},
        Selection{"AddHard", "Add", Level::Hard, 41, 1250},
        Selection{"SubtractEasy", "Subtract", Level::Easy, 2, 10},
        Selection{"SubtractMedium", "Subtract", Level::Medium, 21, 650},
        Selection{"SubtractHard", "Subtract", Level::Hard, 81, 5000},
        Selection{"MultiplyEasy", "Multiply", Level::Easy, 2, 10},
        Selection{"MultiplyMedium", "Multiply", Level::Medium, 11, 80},
        Selection{"MultiplyHard", "Multiply", Level::Hard, 41, 250},
        Selection{"DivideEasy", "Divide", Level::Easy, 2, 10},
        Selection{"DivideMedium", "Divide", Level::Medium, 6, 25},
        Selection{"DivideHard", "Divide", Level::Hard, 11, 75},
        Selection{"AlgebraEasy", "Algebra", Level::Easy, 2, 10},
        Selection{"AlgebraMediumByLevel", "Algebra", Level::Medium, 2, 10},
        Selection{"AlgebraMediumByOperation", "Algebra", Level::Medium, 10, 50},
        Selection{"AlgebraHardByLevel", "Algebra", Level::Hard, 2, 30},
        Selection{"AlgebraHardByOperation", "Algebra", Level::Hard, 50, 500},
        Selection{"RomanEasy", "Roman", Level::Easy, 2, 10}, Selection{"RomanMedium", "Roman", Level::Medium, 10, 50},
        Selection{"RomanHardByLevel", "Roman", Level::Hard, 50, 500},
        Selection{"RomanHardByOperation", "Roman", Level::Hard, 50, 250},
        Selection{"NoneMedium", "", Level::Medium, 11, 80}, Selection{"NoneHard", "", Level::Hard, 41, 250}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Generators, HardShowsEverySignPairButPlusMinus)
{
    std::set<std::pair<QString, QString>> pairs;
    AlgebraDraw d;
    for (int i = 0; i < kDraws / 4; ++i) {
        ASSERT_TRUE(drill::drawAlgebraHard(random, 2, 30, d));
        pairs.insert({d.S, d.V});
    }
    const std::set<std::pair<QString, QString>> expected = {{"+", "+"}, {"-", "+"}, {"-", "-"}};
    EXPECT_EQ(pairs, expected);
}

// ---- Ranges the selection handlers never set --------------------------------

constexpr qint32 kMin = std::numeric_limits<qint32>::min();
constexpr qint32 kMax = std::numeric_limits<qint32>::max();

enum class Gen { Arithmetic, Divide, Easy, Medium, Hard };

struct Hostile {
    const char* name;
    Gen gen;
    Level level;
    qint32 low, high;
};

class HostileRanges : public Generators, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileRanges, ReturnFalseAndLeaveStateAlone)
{
    const Hostile& c = GetParam();
    ArithmeticDraw arithmetic{.First = 1, .Second = 2, .Temp = 3};
    AlgebraDraw algebra{.P = 1, .Q = 2, .Y = 3, .T = 4, .RandomOp1 = 5, .RandomOp2 = 6, .AlgebraAnswer = 7,
                        .S = "+", .V = "-"};
    const auto begin = std::chrono::steady_clock::now();
    bool ok = true;
    switch (c.gen) {
    case Gen::Arithmetic:
        ok = drill::drawRandomNumbers(random, c.low, c.high, false, c.level, arithmetic);
        break;
    case Gen::Divide:
        ok = drill::drawRandomNumbers(random, c.low, c.high, true, c.level, arithmetic);
        break;
    case Gen::Easy:
        ok = drill::drawAlgebraEasy(random, c.low, c.high, algebra);
        break;
    case Gen::Medium:
        ok = drill::drawAlgebraMedium(random, c.low, c.high, algebra);
        break;
    case Gen::Hard:
        ok = drill::drawAlgebraHard(random, c.low, c.high, algebra);
        break;
    }
    EXPECT_FALSE(ok);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1));
    EXPECT_EQ(describe(arithmetic), "First=1 Second=2");
    EXPECT_EQ(arithmetic.Temp, 3);
    EXPECT_EQ(describe(algebra), "P=1 Q=2 Y=3 T=4 S=+ V=- X=7");
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileRanges,
    ::testing::Values(
        Hostile{"unsetRange", Gen::Arithmetic, Level::Easy, 0, 0},
        Hostile{"reversed", Gen::Arithmetic, Level::Easy, 10, 2},
        Hostile{"fullInt32", Gen::Arithmetic, Level::Hard, kMin, kMax},
        Hostile{"nearInt32Max", Gen::Arithmetic, Level::Hard, kMax - 1, kMax},
        Hostile{"productWouldOverflow", Gen::Arithmetic, Level::Hard, 2, 46341},
        Hostile{"divideUnsetRange", Gen::Divide, Level::Easy, 0, 0},
        Hostile{"divideThroughZero", Gen::Divide, Level::None, -5, 5},
        Hostile{"divideEasyNoPairFits", Gen::Divide, Level::Easy, 5, 10},
        Hostile{"divideMediumNoPairFits", Gen::Divide, Level::Medium, 22, 30},
        Hostile{"divideHardNoPairFits", Gen::Divide, Level::Hard, 71, 80},
        Hostile{"divideNearInt32Max", Gen::Divide, Level::Hard, kMax - 1, kMax},
        Hostile{"easyUnsetRange", Gen::Easy, Level::Easy, 0, 0},
        Hostile{"easyLowBelowOne", Gen::Easy, Level::Easy, 0, 10},
        Hostile{"easyReversed", Gen::Easy, Level::Easy, 10, 2},
        Hostile{"easyHuge", Gen::Easy, Level::Easy, 1, kMax},
        Hostile{"mediumNegative", Gen::Medium, Level::Medium, kMin, -1},
        Hostile{"mediumHuge", Gen::Medium, Level::Medium, kMax - 10, kMax},
        Hostile{"hardUnsetRange", Gen::Hard, Level::Hard, 0, 0},
        Hostile{"hardTooNarrow", Gen::Hard, Level::Hard, 5, 6},
        Hostile{"hardLowBelowOne", Gen::Hard, Level::Hard, -30, 30},
        Hostile{"hardHuge", Gen::Hard, Level::Hard, 1, kMax},
        Hostile{"hardFullInt32", Gen::Hard, Level::Hard, kMin, kMax}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Generators, ImprobableDivideRangeGivesUpQuickly)
{
    // Only 12 of about 10^9 pairs fit the Easy limit: almost always false, and
    // never a wrong problem.
    ArithmeticDraw d;
    drill::GeneratorStats stats;
    const auto begin = std::chrono::steady_clock::now();
    if (drill::drawRandomNumbers(random, 2, drill::kMaxArithmeticOperand, true, Level::Easy, d, &stats)) {
        EXPECT_LE(d.First, 20);
    } else {
        EXPECT_EQ(stats.attempts, drill::kMaxDivideAttempts);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
}

TEST_F(Generators, NarrowestRangesStillWork)
{
    ArithmeticDraw a;
    ASSERT_TRUE(drill::drawRandomNumbers(random, 4, 5, true, Level::Easy, a));
    EXPECT_EQ(describe(a), "First=20 Second=5");
    ASSERT_TRUE(drill::drawRandomNumbers(random, 70, 80, true, Level::Hard, a));
    EXPECT_EQ(describe(a), "First=4970 Second=71");
    ASSERT_TRUE(drill::drawRandomNumbers(random, -drill::kMaxArithmeticOperand, drill::kMaxArithmeticOperand,
                                         false, Level::Hard, a));

    AlgebraDraw d;
    ASSERT_TRUE(drill::drawAlgebraEasy(random, 1, 1, d));
    ASSERT_NO_FATAL_FAILURE(checkEasy(d));
    ASSERT_TRUE(drill::drawAlgebraMedium(random, drill::kMaxAlgebraOperand, drill::kMaxAlgebraOperand, d));
    ASSERT_NO_FATAL_FAILURE(checkMedium(d));
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(drill::drawAlgebraHard(random, 1, 3, d));
        ASSERT_NO_FATAL_FAILURE(checkHard(d));
        ASSERT_TRUE(drill::drawAlgebraHard(random, 1, drill::kMaxAlgebraOperand, d));
        ASSERT_NO_FATAL_FAILURE(checkHard(d));
    }
}

struct BadScript {
    const char* name;
    Gen gen;
    std::vector<qint32> draws;
};

class ScriptOutsideRange : public Generators, public ::testing::WithParamInterface<BadScript> {};

TEST_P(ScriptOutsideRange, IsRefused)
{
    const BadScript& c = GetParam();
    fw::testing::scriptRandom(c.draws);
    ArithmeticDraw arithmetic;
    AlgebraDraw algebra;
    bool ok = true;
    switch (c.gen) {
    case Gen::Arithmetic:
        ok = drill::drawRandomNumbers(random, 2, 10, false, Level::Easy, arithmetic);
        break;
    case Gen::Divide:
        ok = drill::drawRandomNumbers(random, 2, 10, true, Level::Easy, arithmetic);
        break;
    case Gen::Easy:
        ok = drill::drawAlgebraEasy(random, 2, 10, algebra);
        break;
    case Gen::Medium:
        ok = drill::drawAlgebraMedium(random, 2, 10, algebra);
        break;
    case Gen::Hard:
        ok = drill::drawAlgebraHard(random, 2, 30, algebra);
        break;
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(arithmetic.First, 0);
    EXPECT_EQ(algebra.P, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptOutsideRange,
    ::testing::Values(BadScript{"hugeOperands", Gen::Arithmetic, {kMax, kMin}},
                      BadScript{"divideOverflow", Gen::Divide, {kMax, kMax - 1}},
                      BadScript{"zeroCoefficient", Gen::Easy, {0, 5, 5, 1}},
                      BadScript{"signDrawOutOfRange", Gen::Medium, {3, 5, 10, 11}},
                      BadScript{"minAnswerOutOfRange", Gen::Hard, {20, 3, 10, 2, 1, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
