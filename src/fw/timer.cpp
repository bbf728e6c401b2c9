#include "fw/timer.h"

#include "fw/dispatch.h"

#include <QPointer>

#include <algorithm>
#include <vector>

namespace fw {

namespace {
bool g_manual = false;

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
        running_ = false;
        timer_.stop();
        return;
    }
    running_ = true;
    started_.start();
    timer_.setSingleShot(mode == 1);
    if (!g_manual)
        timer_.start(period_);
}

void Timer::setPeriod(int milliseconds)
{
    period_ = std::max(0, milliseconds);
    if (timer_.isActive())
        timer_.start(period_);
}

int Timer::remainingTime() const
{
    if (!running_)
        return -1;
    return int(std::max<qint64>(0, period_ - started_.elapsed()));
}

void Timer::setManual(bool manual)
{
    g_manual = manual;
}

void Timer::fire()
{
    if (mode_ == 1) {
        mode_ = 0;
        running_ = false;
        timer_.stop();
    } else {
        started_.start();
    }
    if (action_) {
        // The action may close the window that owns this timer.
        auto action = action_;
        dispatch(action);
    }
}

void Timer::fireNow()
{
    if (running_)
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
