#include "drill/score.h"

#include "fw/text.h"

#include <cmath>

namespace drill {

qint32 percentage(qint32 right, qint32 wrong)
{
    // In doubles the sum cannot overflow, whatever the counts.
    const double total = double(right) + double(wrong);
    if (total == 0.0)
        return 0;
    // Divide first, then multiply: 29 of 50 gives 57.99999999999999, which the
    // rounding turns into the 58 a learner expects.
    const double value = std::round(double(right) / total * 100.0);
    // Counts are never negative; if they ever were, a percentage still stays one.
    if (!(value > 0.0))
        return 0;
    if (value > 100.0)
        return 100;
    return qint32(value);
}

QString divideAnswerText(qint32 first, qint32 second)
{
    return fw::Str(double(first) / double(second));
}

} // namespace drill
