#pragma once

#include "fw/random.h"

#include <QString>

#include <memory>

// Program-wide globals. Every one starts as 0, "", false or nil; the numbers are
// 32-bit signed integers.
namespace Module1 {

// The one generator every problem is drawn from; made by the application's Open event.
inline std::unique_ptr<fw::Random> R;
// Feedback sounds on; written by the Sound menu and the settings reader.
inline bool SoundFlag = false;

// Drill state.
inline qint32 Low = 0;          // operand range in force; written by whichever
inline qint32 High = 0;         // level or operation handler ran last
inline qint32 First = 0;        // operands; in Divide the dividend...
inline qint32 Second = 0;       // ...and the divisor
inline qint32 Temp = 0;         // scratch of the arithmetic generator
inline QString Answer;          // expected answer as text, rebuilt at each Enter
inline qint32 AlgebraAnswer = 0;  // the value of X
inline qint32 N = 0;            // right answers toward the next applause, 0..9
inline qint32 RightAnswer = 0;
inline qint32 WrongAnswer = 0;
inline qint32 Score = 0;        // percentage right
inline qint32 P = 0, Q = 0, Y = 0, T = 0;  // numbers of the equation
inline qint32 RandomOp1 = 0, RandomOp2 = 0;  // sign draws
inline QString S, V;            // equation signs

// Every global back to its start value.
void resetForTesting();

} // namespace Module1
