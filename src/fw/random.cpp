#include "fw/random.h"

#include <QRandomGenerator>

#include <deque>

namespace fw {

namespace {

// The one generator behind every Random. Only the GUI thread draws.
QRandomGenerator& generator()
{
    static QRandomGenerator g = QRandomGenerator::securelySeeded();
    return g;
}

std::deque<qint32>& script()
{
    static std::deque<qint32> values;
    return values;
}

// The bounds log of the recorder alive, if any.
std::vector<testing::DrawBounds>* g_recorded = nullptr;

} // namespace

Random::Random() = default;

qint32 Random::InRange(qint32 low, qint32 high)
{
    if (g_recorded)
        g_recorded->push_back({low, high});
    auto& scripted = script();
    if (!scripted.empty()) {
        const qint32 value = scripted.front();
        scripted.pop_front();
        return value;
    }
    if (low > high)
        return low;
    // The span of the full 32-bit range is 2^32, which needs 64 bits; Qt's
    // bounded() excludes its upper end, hence the + 1.
    const quint64 span = quint64(qint64(high) - qint64(low)) + 1;
    return qint32(qint64(low) + qint64(generator().bounded(span)));
}

namespace testing {

void scriptRandom(std::vector<qint32> values)
{
    script().assign(values.begin(), values.end());
}

void clearRandomScript()
{
    script().clear();
}

std::size_t scriptedRandomLeft()
{
    return script().size();
}

DrawRecorder::DrawRecorder()
{
    g_recorded = &bounds_;
}

DrawRecorder::~DrawRecorder()
{
    if (g_recorded == &bounds_)
        g_recorded = nullptr;
}

} // namespace testing

} // namespace fw
