#pragma once

#include <QString>

namespace drill {

// Percentage of right answers as a whole number from 0 to 100: right over
// right + wrong, times 100, rounded to the nearest whole number (29 right and
// 21 wrong give 58, 2 and 1 give 67). No answers yet gives 0.
qint32 percentage(qint32 right, qint32 wrong);

// The expected answer of a Divide problem: the real quotient as text, a whole
// quotient as bare digits ("7"). A divisor of 0 gives the text of the infinite
// or undefined quotient, never a crash.
QString divideAnswerText(qint32 first, qint32 second);

} // namespace drill
