#pragma once

#include <QObject>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

namespace fw {

// A timer control: Mode 0 is off, 1 fires Action once Period milliseconds after
// it was set, 2 fires every Period. Setting Mode 1 again while the timer waits
// restarts its period, so a burst of starts gives one Action shortly after the
// last. Owned by its window: closing the window drops the timer and its Action.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr);
    ~Timer() override;

    int Mode() const { return mode_; }
    void setMode(int mode);
    int Period() const { return period_; }
    void setPeriod(int milliseconds);

    void setAction(std::function<void()> action) { action_ = std::move(action); }

    bool isRunning() const { return running_; }
    // Milliseconds until it fires; -1 when off.
    int remainingTime() const;

    // Fires now as if the period had passed (test seam).
    void fireNow();

    static int fireAllRunning();
    static int runningCount();
    // While manual, a started timer waits for fireNow/fireAllRunning only, so
    // a slow test machine cannot let a period pass behind a test's back.
    static void setManual(bool manual);

private:
    void fire();

    QTimer timer_;
    QElapsedTimer started_;
    bool running_ = false;
    int mode_ = 0;
    int period_ = 1000;
    std::function<void()> action_;
};

} // namespace fw
