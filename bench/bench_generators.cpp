// Cost of drawing one problem, for every operation and level with the ranges the
// selection handlers set, and of building the numeral table.

#include "drill/generators.h"
#include "drill/roman_table.h"

#include <benchmark/benchmark.h>

#include <QStringList>

#include <algorithm>
#include <chrono>
#include <string>

namespace {

enum class Kind { Arithmetic, Divide, AlgebraEasy, AlgebraMedium, AlgebraHard };

struct Case {
    const char* name;
    Kind kind;
    drill::Level level;
    qint32 low;
    qint32 high;
    qint64 fewestDraws; // draws of a problem taken at the first try
};

// Roman, Add, Subtract and Multiply share the arithmetic generator; the ranges
// are those of both selection tables.
constexpr Case kCases[] = {
    {"Add/Easy/2..10", Kind::Arithmetic, drill::Level::Easy, 2, 10, 2},
    {"Add/Medium/11..80", Kind::Arithmetic, drill::Level::Medium, 11, 80, 2},
    {"Add/Hard/41..1250", Kind::Arithmetic, drill::Level::Hard, 41, 1250, 2},
    {"Subtract/Medium/21..650", Kind::Arithmetic, drill::Level::Medium, 21, 650, 2},
    {"Subtract/Hard/81..5000", Kind::Arithmetic, drill::Level::Hard, 81, 5000, 2},
    {"Multiply/Hard/41..250", Kind::Arithmetic, drill::Level::Hard, 41, 250, 2},
    {"Roman/Medium/10..50", Kind::Arithmetic, drill::Level::Medium, 10, 50, 2},
    {"Roman/Hard/50..250", Kind::Arithmetic, drill::Level::Hard, 50, 250, 2},
    {"Roman/Hard/50..500", Kind::Arithmetic, drill::Level::Hard, 50, 500, 2},
    {"Divide/Easy/2..10", Kind::Divide, drill::Level::Easy, 2, 10, 2},
    {"Divide/Medium/6..25", Kind::Divide, drill::Level::Medium, 6, 25, 2},
    {"Divide/Hard/11..75", Kind::Divide, drill::Level::Hard, 11, 75, 2},
    {"Algebra/Easy/2..10", Kind::AlgebraEasy, drill::Level::Easy, 2, 10, 4},
    {"Algebra/Medium/2..10", Kind::AlgebraMedium, drill::Level::Medium, 2, 10, 4},
    {"Algebra/Medium/10..50", Kind::AlgebraMedium, drill::Level::Medium, 10, 50, 4},
    {"Algebra/Hard/2..30", Kind::AlgebraHard, drill::Level::Hard, 2, 30, 7},
    {"Algebra/Hard/50..500", Kind::AlgebraHard, drill::Level::Hard, 50, 500, 7},
};

bool generate(fw::Random& random, const Case& c, drill::ArithmeticDraw& arithmetic,
              drill::AlgebraDraw& algebra, drill::GeneratorStats* stats)
{
    switch (c.kind) {
    case Kind::Arithmetic:
        return drill::drawRandomNumbers(random, c.low, c.high, false, c.level, arithmetic, stats);
    case Kind::Divide:
        return drill::drawRandomNumbers(random, c.low, c.high, true, c.level, arithmetic, stats);
    case Kind::AlgebraEasy:
        return drill::drawAlgebraEasy(random, c.low, c.high, algebra, stats);
    case Kind::AlgebraMedium:
        return drill::drawAlgebraMedium(random, c.low, c.high, algebra, stats);
    case Kind::AlgebraHard:
        return drill::drawAlgebraHard(random, c.low, c.high, algebra, stats);
    }
    return false;
}

void perProblem(benchmark::State& state, const Case& c)
{
    fw::Random random;
    drill::ArithmeticDraw arithmetic;
    drill::AlgebraDraw algebra;
    for (auto _ : state) {
        benchmark::DoNotOptimize(generate(random, c, arithmetic, algebra, nullptr));
        benchmark::DoNotOptimize(arithmetic);
        benchmark::DoNotOptimize(algebra);
    }
}

// A million problems in a row: the slowest one, and the most work any one needed.
void millionProblems(benchmark::State& state, const Case& c)
{
    constexpr int kProblems = 1'000'000;
    fw::Random random;
    drill::ArithmeticDraw arithmetic;
    drill::AlgebraDraw algebra;
    double worstNs = 0;
    qint64 mostRedraws = 0;
    qint64 mostAttempts = 0;
    qint64 mostSearchSteps = 0;
    qint64 failures = 0;
    qint64 totalAttempts = 0;
    for (auto _ : state) {
        for (int i = 0; i < kProblems; ++i) {
            drill::GeneratorStats stats;
            const auto begin = std::chrono::steady_clock::now();
            const bool ok = generate(random, c, arithmetic, algebra, &stats);
            const auto end = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(ok);
            failures += ok ? 0 : 1;
            worstNs = std::max(worstNs, double(std::chrono::duration_cast<std::chrono::nanoseconds>(end - begin).count()));
            mostRedraws = std::max(mostRedraws, stats.draws - c.fewestDraws);
            mostAttempts = std::max(mostAttempts, stats.attempts);
            totalAttempts += stats.attempts;
            mostSearchSteps = std::max(mostSearchSteps, stats.searchSteps);
        }
    }
    state.counters["worst_ns"] = worstNs;
    state.counters["max_redraws"] = double(mostRedraws);
    state.counters["max_attempts"] = double(mostAttempts);
    state.counters["mean_attempts"] = double(totalAttempts) / kProblems;
    state.counters["max_search_steps"] = double(mostSearchSteps);
    state.counters["failures"] = double(failures);
    state.counters["ns_per_problem"] =
        benchmark::Counter(double(kProblems), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// What the hidden list does with its initial value: rows at CR, cells at TAB.
void BM_ConversionTable(benchmark::State& state)
{
    for (auto _ : state) {
        const QStringList rows = drill::conversionInitialValue().split(QLatin1Char('\r'));
        qsizetype cells = 0;
        for (const QString& row : rows)
            cells += row.split(QLatin1Char('\t')).size();
        if (rows.size() != drill::kConversionRowCount || cells != 2 * drill::kConversionRowCount)
            state.SkipWithError("table does not have 1001 rows of 2 cells");
        benchmark::DoNotOptimize(cells);
    }
}
BENCHMARK(BM_ConversionTable);

const bool kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("BM_Problem/") + c.name).c_str(), perProblem, c);
    }
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("BM_MillionProblems/") + c.name).c_str(), millionProblems, c)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace

BENCHMARK_MAIN();
