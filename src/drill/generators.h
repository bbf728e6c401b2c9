#pragma once

#include "fw/random.h"

#include <QString>

// The problem generators of the drill: plain functions over the drill's draw
// state. The window passes in the range in force and the current state, and shows
// what comes back. The order of the draws is part of the behaviour: the same
// sequence from the random source gives the same problem.
namespace drill {

// The selected level; None when no level button is selected.
enum class Level { None, Easy, Medium, Hard };

// Operands of an Add, Subtract, Multiply, Divide or Roman problem.
struct ArithmeticDraw {
    qint32 First = 0;  // first operand; in Divide the dividend
    qint32 Second = 0; // second operand; in Divide the divisor
    qint32 Temp = 0;   // scratch of the swaps; after a Divide draw it equals First
};

// An equation in X. Shapes, read left to right:
//   Easy    P X = Q S Y
//   Medium  P X S Q = Y
//   Hard    P X S Q = Y X V T
// The window shows Str(P), Str(Q), S, Str(Y), and for Hard V and Str(T).
struct AlgebraDraw {
    qint32 P = 0;             // coefficient of X on the left
    qint32 Q = 0;             // constant: right of "=" in Easy, left of it otherwise
    qint32 Y = 0;             // constant on the right; coefficient of X on the right in Hard
    qint32 T = 0;             // constant on the right in Hard; written by Hard only
    qint32 RandomOp1 = 0;     // draw 1..10 that chose S
    qint32 RandomOp2 = 0;     // draw 1..10 that chose V; written by Hard only
    qint32 AlgebraAnswer = 0; // the value of X
    QString S;                // first sign, "+" or "-"
    QString V;                // second sign, "+" or "-"; written by Hard only
};

// What one call cost, for measuring the generators.
struct GeneratorStats {
    qint64 draws = 0;       // numbers taken from the random source
    qint64 attempts = 0;    // times the generator started from its first draw
    qint64 searchSteps = 0; // +1 steps and +10 raises of the algebra searches
};

// Largest operand magnitude the arithmetic generator accepts: 46340^2 still fits
// 32 bits, so the window's sum, difference and product of two operands cannot
// overflow. The ranges the program sets reach 5000.
inline constexpr qint32 kMaxArithmeticOperand = 46340;

// Largest bound the algebra generators accept. The searches raise a number until
// it is a multiple of P (or of P - Y): every value shown stays below about 14
// times this bound, far inside 32 bits, and a search is at most that many steps.
// The ranges the program sets reach 500.
inline constexpr qint32 kMaxAlgebraOperand = 10000;

// Divide draws both operands again while their product is over the level's
// limit. The range the program sets with the lowest acceptance, 2..10 at Easy,
// keeps 12 of 36 pairs, so 10000 rejections in a row have a probability of
// (2/3)^10000 (about 1e-1761): the bound is never met there, and a range where
// almost no pair fits (2..46340 at Easy) gives up in a few milliseconds.
inline constexpr int kMaxDivideAttempts = 10000;

// Hard algebra draws a whole new equation when an attempt fails. With the
// ranges the program sets an attempt succeeds about one time in 16 (2..30) or
// in 7 (50..500), and a million problems needed at most about 250 attempts.
// Even the narrowest range accepted (1..3) succeeds about one time in 60, so
// 10000 failures in a row (probability below 1e-170) do not happen: the bound
// only guarantees an end, and with operands up to kMaxAlgebraOperand each
// attempt is at most some 11000 search steps.
inline constexpr int kMaxHardAttempts = 10000;

// Each generator returns true and writes into io only the fields it draws. It
// returns false, leaving io untouched, when the range cannot give a problem:
//   drawRandomNumbers: low >= high, a bound beyond kMaxArithmeticOperand; with
//     divide also low < 1, no pair of different values within the level's limit
//     (20, 500, 5000), or kMaxDivideAttempts used up. With no level selected
//     (Level::None) divide has no limit: the two operands come back swapped,
//     First < Second, and nothing is multiplied;
//   drawAlgebraEasy, drawAlgebraMedium: low < 1, low > high, high beyond
//     kMaxAlgebraOperand;
//   drawAlgebraHard: the same, or high - low < 2, or kMaxHardAttempts used up.
// It also returns false when the random source gives a number outside the
// bounds it was asked for (a test script that does not fit the range).
bool drawRandomNumbers(fw::Random& random, qint32 low, qint32 high, bool divide, Level level,
                       ArithmeticDraw& io, GeneratorStats* stats = nullptr);
bool drawAlgebraEasy(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io,
                     GeneratorStats* stats = nullptr);
bool drawAlgebraMedium(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io,
                       GeneratorStats* stats = nullptr);
bool drawAlgebraHard(fw::Random& random, qint32 low, qint32 high, AlgebraDraw& io,
                     GeneratorStats* stats = nullptr);

} // namespace drill
