#pragma once

#include <QtGlobal>

#include <vector>

namespace fw {

// The random-number generator the program draws every problem from.
class Random {
public:
    Random();

    // A whole number from low to high, both included. When low > high there is
    // no such number: the result is low. Draws come from the scripted sequence
    // while one is set (see fw::testing), otherwise from a generator seeded from
    // the system's entropy.
    qint32 InRange(qint32 low, qint32 high);

    Random(const Random&) = delete;
    Random& operator=(const Random&) = delete;
};

namespace testing {
// Every Random's next draws return these values in order (as given, whatever
// the bounds), then fall back to real draws.
void scriptRandom(std::vector<qint32> values);
void clearRandomScript();
// How many scripted values are still waiting.
std::size_t scriptedRandomLeft();
} // namespace testing

} // namespace fw
