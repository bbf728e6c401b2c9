#include "drill/generators.h"

#include <utility>

namespace drill {

namespace {

const QString kPlus = QStringLiteral("+");
const QString kMinus = QStringLiteral("-");

// The largest dividend each level accepts; 0 for no limit.
qint64 divideLimit(Level level)
{
    switch (level) {
    case Level::Easy:
        return 20;
    case Level::Medium:
        return 500;
    case Level::Hard:
        return 5000;
    case Level::None:
        break;
    }
    return 0;
}

// Takes numbers from the random source, counting them, and reports a number
// outside the bounds asked for: the checks on the range up front hold only for
// numbers inside it.
class Draws {
public:
    Draws(fw::Random& random, GeneratorStats* stats) : m_random(random), m_stats(stats) {}

    bool take(qint32 low, qint32 high, qint32& out)
    {
        out = m_random.InRange(low, high);
        if (m_stats)
            ++m_stats->draws;
        return out >= low && out <= high;
    }

    void attempt()
    {
        if (m_stats)
            ++m_stats->attempts;
    }

    void step()
    {
        if (m_stats)
            ++m_stats->searchSteps;
    }

private:
    fw::Random& m_random;
    GeneratorStats* m_stats;
};

// Divisibility as the drill has always tested it: the real quotient against the
// truncated integer quotient. den >= 1 wherever it is called, and for such den
// the test holds exactly when num is a multiple of den, negative num included.
bool divisible(qint32 num, qint32 den)
{
    return double(num) / double(den) == double(num / den);
}

qint32 exactQuotient(qint32 num, qint32 den)
{
    return qint32(double(num) / double(den));
}

bool algebraRangeUsable(qint32 low, qint32 high)
{
    return low >= 1 && low <= high && high <= kMaxAlgebraOperand;
}

} // namespace

bool drawRandomNumbers(fw::Random& random, qint32 low, qint32 high, bool divide, Level level,
                       ArithmeticDraw& io, GeneratorStats* stats)
{
    if (low >= high || low < -kMaxArithmeticOperand || high > kMaxArithmeticOperand)
        return false;
    const qint64 limit = divide ? divideLimit(level) : 0;
    if (divide && low < 1)
        return false; // the divisor must not be 0, nor the dividend negative
    if (limit > 0 && qint64(low) * (qint64(low) + 1) > limit)
        return false; // even the two smallest values are over the limit

    Draws draws(random, stats);
    ArithmeticDraw d = io;
    for (int attempt = 1; limit == 0 || attempt <= kMaxDivideAttempts; ++attempt) {
        draws.attempt();
        if (!draws.take(low, high, d.First))
            return false;
        do {
            if (!draws.take(low, high, d.Second))
                return false;
        } while (d.Second == d.First);

        if (d.Second >= d.First) {
            d.Temp = d.First;
            d.First = d.Second;
            d.Second = d.Temp;
        }
        if (divide) {
            d.Temp = d.First;
            d.First = d.Second;
            d.Second = d.Temp;
        }
        if (limit > 0) {
            // Operands are at most kMaxArithmeticOperand, so the product fits 32
            // bits; 64 bits keeps even that question out of the way.
            const qint64 product = qint64(d.First) * qint64(d.Second);
            if (product > limit)
                continue;
            d.Temp = qint32(product);
            d.First = d.Temp;
        }
        io = d;
        return true;
    }
    return false;
}

namespace {

// The draws of the two-term equations, in their order: P and Q from the range,
// Y from 1 to 100, then the sign.
bool drawTwoTermEquation(Draws& draws, qint32 low, qint32 high, AlgebraDraw& d)
{
    draws.attempt();
    if (!draws.take(low, high, d.P) || !draws.take(low, high, d.Q) || !draws.take(1, 100, d.Y)
        || !draws.take(1, 10, d.RandomOp1))
        return false;
    d.S = d.RandomOp1 < 6 ? kPlus : kMinus;
    return true;
}

// Raises one number of the equation by 1 until num() is a multiple of P, then,
// while the quotient is below minAnswer, by 10 and searches again.
template <class Num>
void raiseUntilWhole(Draws& draws, AlgebraDraw& d, qint32& raised, qint32 minAnswer, Num num)
{
    for (;;) {
        if (!divisible(num(), d.P)) {
            ++raised;
            draws.step();
            continue;
        }
        d.AlgebraAnswer = exactQuotient(num(), d.P);
        if (d.AlgebraAnswer >= minAnswer)
            return;
        raised += 10;
        draws.step();
    }
}

} // namespace

namespace {

// The frame both two-term generators share: the range check, the draws, then
// shape(d) lays out and solves the equation; io changes only on success.
template <class Shape>
bool drawTwoTerm(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io, GeneratorStats* stats, Shape shape)
{
    if (!algebraRangeUsable(low, high))
        return false;
    Draws draws(random, stats);
    AlgebraDraw d = io;
    if (!drawTwoTermEquation(draws, low, high, d))
        return false;
    shape(draws, d, d.S == kPlus);
    io = d;
    return true;
}

} // namespace

bool drawAlgebraEasy(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io, GeneratorStats* stats)
{
    return drawTwoTerm(random, low, high, io, stats, [](Draws& draws, AlgebraDraw& d, bool plus) {
        if (d.Q < d.Y)
            std::swap(d.Q, d.Y);
        // P X = Q + Y or Q - Y: raise Q.
        raiseUntilWhole(draws, d, d.Q, 2, [&] { return plus ? d.Q + d.Y : d.Q - d.Y; });
    });
}

bool drawAlgebraMedium(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io, GeneratorStats* stats)
{
    return drawTwoTerm(random, low, high, io, stats, [](Draws& draws, AlgebraDraw& d, bool plus) {
        // P X + Q = Y or P X - Q = Y: raise Y.
        raiseUntilWhole(draws, d, d.Y, 11, [&] { return plus ? d.Y - d.Q : d.Y + d.Q; });
    });
}

bool drawAlgebraHard(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io, GeneratorStats* stats)
{
    if (!algebraRangeUsable(low, high) || high - low < 2)
        return false;

    Draws draws(random, stats);
    AlgebraDraw d = io;
    for (int attempt = 1; attempt <= kMaxHardAttempts; ++attempt) {
        draws.attempt();
        qint32 minAnswer = 0; // smallest X this attempt accepts
        if (!draws.take(low, high, d.P) || !draws.take(low, high, d.Q) || !draws.take(low, high, d.T)
            || !draws.take(low, high, d.Y) || !draws.take(1, 10, d.RandomOp1)
            || !draws.take(1, 10, d.RandomOp2) || !draws.take(4, 16, minAnswer))
            return false;

        const bool firstPlus = d.RandomOp1 < 6;
        const bool secondPlus = firstPlus || d.RandomOp2 < 6; // "+" then "-" never occurs
        d.S = firstPlus ? kPlus : kMinus;
        d.V = secondPlus ? kPlus : kMinus;
        if (d.P < d.Y)
            std::swap(d.P, d.Y);
        if (d.T < d.Q)
            std::swap(d.Q, d.T);

        // P - Y is the coefficient of X once the equation is solved; below 2 the
        // attempt cannot give a whole X of its own, so it starts again.
        const qint32 den = d.P - d.Y;
        qint32 num = 0;
        bool found = false;
        if (firstPlus) {
            for (;;) {
                num = d.T - d.Q;
                if (num < den) {
                    d.T += 10;
                    draws.step();
                    continue;
                }
                if (den < 2)
                    break;
                if (divisible(num, den)) {
                    found = true;
                    break;
                }
                ++d.T;
                draws.step();
            }
        } else {
            if (!secondPlus)
                std::swap(d.Q, d.T);
            for (;;) {
                num = secondPlus ? d.Q + d.T : d.Q - d.T;
                if (den < 2)
                    break;
                if (divisible(num, den)) {
                    found = true;
                    break;
                }
                ++d.Q;
                draws.step();
            }
        }
        if (!found)
            continue;
        const qint32 answer = exactQuotient(num, den);
        if (answer < minAnswer)
            continue;
        d.AlgebraAnswer = answer;
        io = d;
        return true;
    }
    return false;
}

} // namespace drill
