#pragma once

#include "phone/sim/Clock.h"
#include "phone/sim/Scheduler.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace testsupport {

// An event loop whose clock moves only when the test says so. Schedulers made here are
// handles onto the loop: destroying one drops what it posted, the way a destroyed Qt object
// takes its pending timers and queued calls with it.
class FakeEventLoop : public phone::sim::Clock
{
public:
    phone::sim::Millis now() const override { return m_now; }

    std::unique_ptr<phone::sim::Scheduler> makeScheduler();

    // Runs everything that is due now, including what the tasks themselves post.
    void runPending();
    // Moves the clock forward, running timers at their own times in order, and every posted
    // task after the one that posted it.
    void advance(phone::sim::Millis duration);

    // Tasks and timers still waiting, of all schedulers.
    std::size_t waiting() const { return m_entries.size(); }

private:
    class Handle;
    struct Entry
    {
        phone::sim::Millis due;
        std::uint64_t sequence;
        const Handle *owner;
        phone::sim::Scheduler::TimerId id;
        phone::sim::Scheduler::Task task;
    };

    phone::sim::Scheduler::TimerId add(const Handle *owner, phone::sim::Millis due,
                                       phone::sim::Scheduler::Task task);
    void remove(phone::sim::Scheduler::TimerId id);
    void removeAll(const Handle *owner);
    bool runOneDueBy(phone::sim::Millis limit);

    phone::sim::Millis m_now{0};
    std::uint64_t m_sequence = 0;
    std::vector<Entry> m_entries;
};

} // namespace testsupport
