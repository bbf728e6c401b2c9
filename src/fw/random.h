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

// The bounds of one InRange call.
struct DrawBounds {
    qint32 low = 0;
    qint32 high = 0;
    friend bool operator==(const DrawBounds&, const DrawBounds&) = default;
};

// While a recorder is alive, every Random notes the bounds of each InRange call
// in order, scripted or not. It checks nothing: the test compares the bounds
// with those it expects. One recorder at a time.
class DrawRecorder {
public:
    DrawRecorder();
    ~DrawRecorder();
    DrawRecorder(const DrawRecorder&) = delete;
    DrawRecorder& operator=(const DrawRecorder&) = delete;

    const std::vector<DrawBounds>& bounds() const { return bounds_; }

private:
    std::vector<DrawBounds> bounds_;
};
} // namespace testing

} // namespace fw
