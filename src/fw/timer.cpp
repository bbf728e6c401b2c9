#include "fw/timer.h"

#include "fw/dispatch.h"

#include <QPointer>

#include <algorithm>
#include <vector>

namespace fw {

namespace {
std::vector<Timer*>& liveTimers()
{
    static std::vector<Timer*> timers;
    return timers;
}
} // namespace

Timer::Timer(QObject* parent) : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::fire);
    liveTimers().push_back(this);
}

Timer::~Timer()
{
    auto& timers = liveTimers();
    timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void Timer::setMode(int mode)
{
    mode_ = mode;
    if (mode == 0) {
        timer_.stop();
        return;
    }
    timer_.setSingleShot(mode == 1);
    timer_.start(period_);
}

void Timer::setPeriod(int milliseconds)
{
    period_ = std::max(0, milliseconds);
    if (timer_.isActive())
        timer_.start(period_);
}

void Timer::fire()
{
    if (mode_ == 1) {
        mode_ = 0;
        timer_.stop();
    }
    if (action_) {
        // The action may close the window that owns this timer.
        auto action = action_;
        dispatch(action);
    }
}

void Timer::fireNow()
{
    if (timer_.isActive())
        fire();
}

int Timer::fireAllRunning()
{
    std::vector<QPointer<Timer>> due;
    for (Timer* t : liveTimers())
        if (t->isRunning())
            due.emplace_back(t);
    std::stable_sort(due.begin(), due.end(), [](const QPointer<Timer>& a, const QPointer<Timer>& b) {
        return a->remainingTime() < b->remainingTime();
    });
    int fired = 0;
    for (const QPointer<Timer>& t : due) {
        if (t && t->isRunning()) {
            t->fire();
            ++fired;
        }
    }
    return fired;
}

int Timer::runningCount()
{
    return int(std::count_if(liveTimers().begin(), liveTimers().end(), [](Timer* t) { return t->isRunning(); }));
}

} // namespace fw
