#include "drill/generators.h"
#include "fw/text.h"

#include "named_rows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace fw::testing {
void PrintTo(const DrawBounds& b, std::ostream* os)
{
    *os << "(" << b.low << ", " << b.high << ")";
}
} // namespace fw::testing

namespace {

using named_rows::PrintTo;

using drill::AlgebraDraw;
using drill::ArithmeticDraw;
using drill::Level;

constexpr qint32 kMin = std::numeric_limits<qint32>::min();
constexpr qint32 kMax = std::numeric_limits<qint32>::max();
constexpr int kDraws = 5000;

enum class Gen { Arithmetic, Divide, Easy, Medium, Hard };

// The state an earlier problem left behind: Temp and the Hard-only fields must
// survive the generators that do not write them.
struct State {
    ArithmeticDraw arithmetic{.First = 1, .Second = 2, .Temp = -1};
    AlgebraDraw algebra{.P = 1, .Q = 2, .Y = 3, .T = 77, .RandomOp1 = 5, .RandomOp2 = 8, .AlgebraAnswer = 7,
                        .S = "+", .V = "-"};
};

bool generate(fw::Random& random, Gen gen, Level level, qint32 low, qint32 high, State& s,
              drill::GeneratorStats* stats = nullptr)
{
    switch (gen) {
    case Gen::Arithmetic:
        return drill::drawRandomNumbers(random, low, high, false, level, s.arithmetic, stats);
    case Gen::Divide:
        return drill::drawRandomNumbers(random, low, high, true, level, s.arithmetic, stats);
    case Gen::Easy:
        return drill::drawAlgebraEasy(random, low, high, s.algebra, stats);
    case Gen::Medium:
        return drill::drawAlgebraMedium(random, low, high, s.algebra, stats);
    case Gen::Hard:
        return drill::drawAlgebraHard(random, low, high, s.algebra, stats);
    }
    return false;
}

std::string describe(const State& s, Gen gen)
{
    if (gen == Gen::Arithmetic || gen == Gen::Divide) {
        const ArithmeticDraw& d = s.arithmetic;
        return "First=" + std::to_string(d.First) + " Second=" + std::to_string(d.Second)
            + " Temp=" + std::to_string(d.Temp);
    }
    const AlgebraDraw& d = s.algebra;
    return "P=" + std::to_string(d.P) + " Q=" + std::to_string(d.Q) + " Y=" + std::to_string(d.Y)
        + " T=" + std::to_string(d.T) + " S=" + d.S.toStdString() + " V=" + d.V.toStdString()
        + " X=" + std::to_string(d.AlgebraAnswer) + " Op1=" + std::to_string(d.RandomOp1)
        + " Op2=" + std::to_string(d.RandomOp2);
}

qint64 shownNumber(qint32 value)
{
    return fw::Str(value).toLongLong();
}

qint64 applySign(const QString& sign, qint64 value)
{
    return sign == "+" ? value : -value;
}

// The problem as the window shows it must be one the learner can solve with the
// expected answer.
void checkProblem(Gen gen, Level level, qint32 low, qint32 high, const State& s)
{
    const std::string text = describe(s, gen);
    const ArithmeticDraw& a = s.arithmetic;
    if (gen == Gen::Arithmetic) {
        ASSERT_GT(a.First, a.Second) << text;
        ASSERT_LE(a.First, high) << text;
        ASSERT_GE(a.Second, low) << text;
        return;
    }
    if (gen == Gen::Divide) {
        const qint32 limit = level == Level::Easy ? 20 : level == Level::Medium ? 500 : 5000;
        ASSERT_EQ(a.First % a.Second, 0) << text;
        ASSERT_GT(a.Second, a.First / a.Second) << text;
        ASSERT_LE(a.First, limit) << text;
        ASSERT_GE(a.First / a.Second, low) << text;
        ASSERT_LE(a.Second, high) << text;
        ASSERT_EQ(a.Temp, a.First) << text;
        return;
    }
    const AlgebraDraw& d = s.algebra;
    const qint64 p = shownNumber(d.P), q = shownNumber(d.Q), y = shownNumber(d.Y), t = shownNumber(d.T);
    const qint64 x = d.AlgebraAnswer;
    ASSERT_TRUE(d.S == "+" || d.S == "-") << text;
    ASSERT_GE(d.P, low) << text;
    ASSERT_LE(d.P, high) << text;
    switch (gen) {
    case Gen::Easy: // P X = Q S Y
        ASSERT_EQ(p * x, q + applySign(d.S, y)) << text;
        ASSERT_GE(q, y) << text;
        ASSERT_GE(x, 2) << text;
        break;
    case Gen::Medium: // P X S Q = Y
        ASSERT_EQ(p * x + applySign(d.S, q), y) << text;
        ASSERT_GE(x, 11) << text;
        break;
    default: // P X S Q = Y X V T
        ASSERT_TRUE(d.V == "+" || d.V == "-") << text;
        ASSERT_EQ(p * x + applySign(d.S, q), y * x + applySign(d.V, t)) << text;
        ASSERT_GE(x, 4) << text;
        ASSERT_FALSE(d.S == "+" && d.V == "-") << text;
        if (d.S == "+" && d.V == "+") {
            ASSERT_GT(t, q) << text;
        }
        if (d.S == "-" && d.V == "-") {
            ASSERT_GT(q, t) << text;
        }
        break;
    }
}

class Generators : public ::testing::Test {
protected:
    void SetUp() override { fw::testing::clearRandomScript(); }
    void TearDown() override { fw::testing::clearRandomScript(); }

    fw::Random random;
};

// ---- Exact problems from scripted draws -------------------------------------

using Bounds = std::vector<fw::testing::DrawBounds>;

// One attempt of Hard: P, Q, T, Y from the range, the two signs, the least answer.
Bounds hardAttempt(qint32 low, qint32 high)
{
    return {{low, high}, {low, high}, {low, high}, {low, high}, {1, 10}, {1, 10}, {4, 16}};
}

Bounds operator+(Bounds a, const Bounds& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Scripted {
    const char* name;
    Gen gen;
    Level level;
    qint32 low, high;
    std::vector<qint32> draws;
    const char* problem;
    // The (low, high) of every draw asked for, in order; unchecked when empty.
    // The scripted source answers whatever it is asked, so the problem alone
    // does not show a draw taken from the wrong bounds.
    Bounds bounds = {};
};

void PrintTo(const Scripted& row, std::ostream* os)
{
    *os << row.name;
}

class ScriptedDraws : public Generators, public ::testing::WithParamInterface<Scripted> {};

TEST_P(ScriptedDraws, GiveExactProblem)
{
    const Scripted& c = GetParam();
    fw::testing::scriptRandom(c.draws);
    fw::testing::DrawRecorder recorder;
    State s;
    ASSERT_TRUE(generate(random, c.gen, c.level, c.low, c.high, s));
    EXPECT_EQ(describe(s, c.gen), c.problem);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u) << "every scripted draw is used, none more";
    if (!c.bounds.empty()) {
        EXPECT_EQ(recorder.bounds(), c.bounds);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptedDraws,
    ::testing::Values(
        Scripted{"equalSecondDrawnAgain", Gen::Arithmetic, Level::Easy, 2, 10, {3, 3, 7}, "First=7 Second=3 Temp=3"},
        Scripted{"noSwapKeepsTemp", Gen::Arithmetic, Level::Hard, 2, 10, {9, 4}, "First=9 Second=4 Temp=-1"},
        // 3 x 7 = 21 is over 20: both drawn again; 4 x 5 = 20 is accepted.
        Scripted{"divideEasyLimitInclusive", Gen::Divide, Level::Easy, 2, 10, {7, 3, 4, 5}, "First=20 Second=5 Temp=20"},
        Scripted{"divideMedium", Gen::Divide, Level::Medium, 6, 25, {25, 25, 20}, "First=500 Second=25 Temp=500"},
        Scripted{"divideHardOverLimit", Gen::Divide, Level::Hard, 11, 75, {75, 70, 12, 11},
                 "First=132 Second=12 Temp=132"},
        Scripted{"divideNoLevelNoLimit", Gen::Divide, Level::None, 2, 10, {3, 7}, "First=3 Second=7 Temp=7"},
        // Q < Y swapped to Q 9, Y 5; 14 and 15 are no multiples of 4, 16 is.
        // Y and the sign draw keep their own bounds whatever the level's range.
        Scripted{"easySwapAndSearch", Gen::Easy, Level::Easy, 2, 10, {4, 5, 9, 3},
                 "P=4 Q=11 Y=5 T=77 S=+ V=- X=4 Op1=3 Op2=8", {{2, 10}, {2, 10}, {1, 100}, {1, 10}}},
        // 11 - 1 = 10 gives X = 1: Q raised by ten, 21 - 1 = 20 gives X = 2.
        Scripted{"easyRaise", Gen::Easy, Level::Easy, 2, 10, {10, 10, 1, 8},
                 "P=10 Q=21 Y=1 T=77 S=- V=- X=2 Op1=8 Op2=8"},
        Scripted{"mediumPlus", Gen::Medium, Level::Medium, 2, 10, {3, 5, 10, 2},
                 "P=3 Q=5 Y=47 T=77 S=+ V=- X=14 Op1=2 Op2=8"},
        Scripted{"mediumMinus", Gen::Medium, Level::Medium, 2, 10, {2, 10, 1, 6},
                 "P=2 Q=10 Y=12 T=77 S=- V=- X=11 Op1=6 Op2=8"},
        Scripted{"hardThreeAttempts", Gen::Hard, Level::Hard, 2, 50,
                 {// P - Y = 0: a new attempt.
                  5, 3, 20, 5, 1, 1, 4,
                  // Swapped to P 9, Y 2 and Q 10, T 30; "-" "-" swaps Q and T back;
                  // 31 - 10 = 21 gives X = 3, below the drawn 4: a new attempt.
                  2, 30, 10, 9, 7, 8, 4,
                  // "-" "+": Q rises from 8 to 13, where 13 + 50 = 63 = 7 x 9.
                  10, 50, 8, 3, 6, 2, 5},
                 "P=10 Q=13 Y=3 T=50 S=- V=+ X=9 Op1=6 Op2=2"},
        // T - Q = 2 raised by ten past P - Y = 10, then to 20: X = 2 is below 4;
        // the next attempt finds 21 - 3 = 18 = 3 x 6.
        Scripted{"hardPlusPlusRaise", Gen::Hard, Level::Hard, 2, 30, {12, 20, 22, 2, 5, 9, 4, 5, 3, 20, 2, 1, 9, 4},
                 "P=5 Q=3 Y=2 T=21 S=+ V=+ X=6 Op1=1 Op2=9"},
        Scripted{"arithmeticRedrawsTheEqualSecond", Gen::Arithmetic, Level::Medium, 11, 80, {30, 30, 12},
                 "First=30 Second=12 Temp=-1", {{11, 80}, {11, 80}, {11, 80}}},
        // 25 x 24 is over 500: both drawn again.
        Scripted{"divideRedrawsBoth", Gen::Divide, Level::Medium, 6, 25, {25, 24, 20, 21},
                 "First=420 Second=21 Temp=420", {{6, 25}, {6, 25}, {6, 25}, {6, 25}}},
        Scripted{"medium", Gen::Medium, Level::Medium, 10, 50, {10, 12, 40, 2},
                 "P=10 Q=12 Y=122 T=77 S=+ V=- X=11 Op1=2 Op2=8", {{10, 50}, {10, 50}, {1, 100}, {1, 10}}},
        // "-" "+": 8 + 9 = 17 raised to 18 = 2 x 9, but X = 9 is below the
        // least answer 16 drawn for that attempt; the next attempt is taken.
        Scripted{"hardLeastAnswerAboveFour", Gen::Hard, Level::Hard, 2, 30,
                 {5, 8, 9, 3, 7, 2, 16, /* next attempt */ 5, 3, 20, 2, 1, 9, 4},
                 "P=5 Q=3 Y=2 T=21 S=+ V=+ X=6 Op1=1 Op2=9", hardAttempt(2, 30) + hardAttempt(2, 30)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Every range of both selection tables, over many random draws -----------

struct Selection {
    const char* name;
    Gen gen;
    Level level;
    qint32 low, high;
};

class SelectionRanges : public Generators, public ::testing::WithParamInterface<Selection> {};

TEST_P(SelectionRanges, EveryProblemIsValid)
{
    const Selection& c = GetParam();
    State s;
    for (int i = 0; i < kDraws; ++i) {
        ASSERT_TRUE(generate(random, c.gen, c.level, c.low, c.high, s));
        ASSERT_NO_FATAL_FAILURE(checkProblem(c.gen, c.level, c.low, c.high, s));
    }
}

// Roman, Add, Subtract, Multiply and no operation draw with the arithmetic generator.
INSTANTIATE_TEST_SUITE_P(
    Table, SelectionRanges,
    ::testing::Values(
        Selection{"AnyEasy", Gen::Arithmetic, Level::Easy, 2, 10},
        Selection{"AddOrMultiplyMedium", Gen::Arithmetic, Level::Medium, 11, 80},
        Selection{"AddHard", Gen::Arithmetic, Level::Hard, 41, 1250},
        Selection{"SubtractMedium", Gen::Arithmetic, Level::Medium, 21, 650},
        Selection{"SubtractHard", Gen::Arithmetic, Level::Hard, 81, 5000},
        Selection{"MultiplyHard", Gen::Arithmetic, Level::Hard, 41, 250},
        Selection{"RomanMedium", Gen::Arithmetic, Level::Medium, 10, 50},
        Selection{"RomanHardByLevel", Gen::Arithmetic, Level::Hard, 50, 500},
        Selection{"RomanHardByOperation", Gen::Arithmetic, Level::Hard, 50, 250},
        Selection{"DivideEasy", Gen::Divide, Level::Easy, 2, 10},
        Selection{"DivideMedium", Gen::Divide, Level::Medium, 6, 25},
        Selection{"DivideHard", Gen::Divide, Level::Hard, 11, 75},
        Selection{"AlgebraEasy", Gen::Easy, Level::Easy, 2, 10},
        Selection{"AlgebraMediumByLevel", Gen::Medium, Level::Medium, 2, 10},
        Selection{"AlgebraMediumByOperation", Gen::Medium, Level::Medium, 10, 50},
        Selection{"AlgebraHardByLevel", Gen::Hard, Level::Hard, 2, 30},
        Selection{"AlgebraHardByOperation", Gen::Hard, Level::Hard, 50, 500}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Generators, EasyDivideGivesExactlyTheTwelveProblems)
{
    const std::set<std::pair<qint32, qint32>> allowed = {{6, 3},  {8, 4},  {10, 5}, {12, 6}, {14, 7}, {16, 8},
                                                         {18, 9}, {20, 10}, {12, 4}, {15, 5}, {18, 6}, {20, 5}};
    std::set<std::pair<qint32, qint32>> seen;
    State s;
    for (int i = 0; i < kDraws; ++i) {
        ASSERT_TRUE(generate(random, Gen::Divide, Level::Easy, 2, 10, s));
        seen.insert({s.arithmetic.First, s.arithmetic.Second});
    }
    EXPECT_EQ(seen, allowed);
}

TEST_F(Generators, DivideQuotientsSpanTheRange)
{
    // The largest Hard quotient, 70, comes only from 4970 / 71: one pair in 2060.
    struct Span {
        Level level;
        qint32 low, high, least, most;
    };
    for (const Span& c : {Span{Level::Medium, 6, 25, 6, 21}, Span{Level::Hard, 11, 75, 11, 70}}) {
        std::set<qint32> quotients;
        State s;
        for (int i = 0; i < 100000; ++i) {
            ASSERT_TRUE(generate(random, Gen::Divide, c.level, c.low, c.high, s));
            quotients.insert(s.arithmetic.First / s.arithmetic.Second);
        }
        EXPECT_EQ(*quotients.begin(), c.least);
        EXPECT_EQ(*quotients.rbegin(), c.most);
    }
}

TEST_F(Generators, HardShowsEverySignPairButPlusMinus)
{
    std::set<std::pair<QString, QString>> pairs;
    State s;
    for (int i = 0; i < kDraws; ++i) {
        ASSERT_TRUE(generate(random, Gen::Hard, Level::Hard, 2, 30, s));
        pairs.insert({s.algebra.S, s.algebra.V});
    }
    const std::set<std::pair<QString, QString>> expected = {{"+", "+"}, {"-", "+"}, {"-", "-"}};
    EXPECT_EQ(pairs, expected);
}

// ---- Ranges and draws the program never produces ----------------------------

struct Hostile {
    const char* name;
    Gen gen;
    Level level;
    qint32 low, high;
    std::vector<qint32> script;
};

class HostileInput : public Generators, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileInput, ReturnsFalseAtOnceLeavingStateAlone)
{
    const Hostile& c = GetParam();
    fw::testing::scriptRandom(c.script);
    State s;
    const std::string before = describe(s, Gen::Arithmetic) + describe(s, Gen::Hard);
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_FALSE(generate(random, c.gen, c.level, c.low, c.high, s));
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(1));
    EXPECT_EQ(describe(s, Gen::Arithmetic) + describe(s, Gen::Hard), before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileInput,
    ::testing::Values(
        Hostile{"unsetRange", Gen::Arithmetic, Level::Easy, 0, 0, {}},
        Hostile{"reversed", Gen::Arithmetic, Level::Easy, 10, 2, {}},
        Hostile{"fullInt32", Gen::Arithmetic, Level::Hard, kMin, kMax, {}},
        Hostile{"nearInt32Max", Gen::Arithmetic, Level::Hard, kMax - 1, kMax, {}},
        Hostile{"productWouldOverflow", Gen::Arithmetic, Level::Hard, 2, 46341, {}},
        Hostile{"divideUnsetRange", Gen::Divide, Level::Easy, 0, 0, {}},
        Hostile{"divideThroughZero", Gen::Divide, Level::None, -5, 5, {}},
        Hostile{"divideEasyNoPairFits", Gen::Divide, Level::Easy, 5, 10, {}},
        Hostile{"divideMediumNoPairFits", Gen::Divide, Level::Medium, 22, 30, {}},
        Hostile{"divideHardNoPairFits", Gen::Divide, Level::Hard, 71, 80, {}},
        Hostile{"divideNearInt32Max", Gen::Divide, Level::Hard, kMax - 1, kMax, {}},
        Hostile{"easyUnsetRange", Gen::Easy, Level::Easy, 0, 0, {}},
        Hostile{"easyLowBelowOne", Gen::Easy, Level::Easy, 0, 10, {}},
        Hostile{"easyReversed", Gen::Easy, Level::Easy, 10, 2, {}},
        Hostile{"easyHuge", Gen::Easy, Level::Easy, 1, kMax, {}},
        Hostile{"mediumNegative", Gen::Medium, Level::Medium, kMin, -1, {}},
        Hostile{"mediumHuge", Gen::Medium, Level::Medium, kMax - 10, kMax, {}},
        Hostile{"hardUnsetRange", Gen::Hard, Level::Hard, 0, 0, {}},
        Hostile{"hardTooNarrow", Gen::Hard, Level::Hard, 5, 6, {}},
        Hostile{"hardLowBelowOne", Gen::Hard, Level::Hard, -30, 30, {}},
        Hostile{"hardHuge", Gen::Hard, Level::Hard, 1, kMax, {}},
        Hostile{"hardFullInt32", Gen::Hard, Level::Hard, kMin, kMax, {}},
        // Scripted numbers outside the bounds asked for.
        Hostile{"scriptHugeOperands", Gen::Arithmetic, Level::Easy, 2, 10, {kMax, kMin}},
        Hostile{"scriptDivideOverflow", Gen::Divide, Level::Easy, 2, 10, {kMax, kMax - 1}},
        Hostile{"scriptZeroCoefficient", Gen::Easy, Level::Easy, 2, 10, {0, 5, 5, 1}},
        Hostile{"scriptSignDrawOutOfRange", Gen::Medium, Level::Medium, 2, 10, {3, 5, 10, 11}},
        Hostile{"scriptMinAnswerOutOfRange", Gen::Hard, Level::Hard, 2, 30, {20, 3, 10, 2, 1, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Generators, ImprobableDivideRangeGivesUpQuickly)
{
    // Only 12 of about 10^9 pairs fit the Easy limit: almost always false, and
    // never a wrong problem.
    State s;
    drill::GeneratorStats stats;
    const auto begin = std::chrono::steady_clock::now();
    if (generate(random, Gen::Divide, Level::Easy, 2, drill::kMaxArithmeticOperand, s, &stats)) {
        EXPECT_LE(s.arithmetic.First, 20);
    } else {
        EXPECT_EQ(stats.attempts, drill::kMaxDivideAttempts);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
}

TEST_F(Generators, NarrowestAndWidestAcceptedRanges)
{
    State s;
    ASSERT_TRUE(generate(random, Gen::Divide, Level::Easy, 4, 5, s));
    EXPECT_EQ(describe(s, Gen::Divide), "First=20 Second=5 Temp=20");
    ASSERT_TRUE(generate(random, Gen::Divide, Level::Hard, 70, 80, s));
    EXPECT_EQ(describe(s, Gen::Divide), "First=4970 Second=71 Temp=4970");
    const qint32 widest = drill::kMaxArithmeticOperand;
    ASSERT_TRUE(generate(random, Gen::Arithmetic, Level::Hard, -widest, widest, s));

    struct Range {
        Gen gen;
        qint32 low, high;
    };
    const qint32 top = drill::kMaxAlgebraOperand;
    for (const Range& r : {Range{Gen::Easy, 1, 1}, Range{Gen::Easy, top, top}, Range{Gen::Medium, 1, 1},
                           Range{Gen::Medium, top, top}, Range{Gen::Hard, 1, 3}, Range{Gen::Hard, 1, top}}) {
        for (int i = 0; i < 100; ++i) {
            ASSERT_TRUE(generate(random, r.gen, Level::Hard, r.low, r.high, s));
            ASSERT_NO_FATAL_FAILURE(checkProblem(r.gen, Level::Hard, r.low, r.high, s));
        }
    }
}

} // namespace
