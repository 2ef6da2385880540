#pragma once

#include "phone/sim/Scheduler.h"

#include <QObject>

#include <map>

class QTimer;

namespace app {

// Runs the simulation's tasks on the event loop of the thread that created it: posted tasks as
// queued calls, timed tasks on single-shot timers. Both are bound to an object owned here, so
// destroying the scheduler takes every pending call and timer with it.
class QtScheduler : public phone::sim::Scheduler
{
public:
    explicit QtScheduler(const phone::sim::Clock &clock);
    ~QtScheduler() override;
    QtScheduler(const QtScheduler &) = delete;
    QtScheduler &operator=(const QtScheduler &) = delete;

    void post(Task task) override;
    TimerId postAt(phone::sim::Millis at, Task task) override;
    void cancel(TimerId id) override;

private:
    const phone::sim::Clock &m_clock;
    std::map<TimerId, QTimer *> m_timers;
    TimerId m_lastId = 0;
    // Receiver of the queued calls and parent of the timers.
    QObject m_context;
};

} // namespace app
