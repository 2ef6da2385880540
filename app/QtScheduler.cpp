#include "app/QtScheduler.h"

#include <QTimer>

#include <algorithm>

namespace app {

QtScheduler::QtScheduler(const phone::sim::Clock &clock)
    : m_clock(clock)
{}

// m_context goes first and deletes the timers; the queued calls addressed to it are dropped.
QtScheduler::~QtScheduler() = default;

void QtScheduler::post(Task task)
{
    QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

phone::sim::Scheduler::TimerId QtScheduler::postAt(phone::sim::Millis at, Task task)
{
    const TimerId id = ++m_lastId;
    auto *timer = new QTimer(&m_context);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, &m_context, [this, id, task = std::move(task)] {
        const auto it = m_timers.find(id);
        if (it == m_timers.end())
            return;
        // Spent before it runs, so the task may cancel or start timers freely.
        it->second->deleteLater();
        m_timers.erase(it);
        task();
    });
    m_timers.emplace(id, timer);
    const auto delay = std::max<std::int64_t>(0, (at - m_clock.now()).count());
    timer->start(std::chrono::milliseconds(delay));
    return id;
}

void QtScheduler::cancel(TimerId id)
{
    const auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    m_timers.erase(it);
}

} // namespace app
