#pragma once

#include "phone/sim/Clock.h"

#include <cstdint>
#include <functional>

namespace phone::sim {

// Delivery of work from the event loop of the window's thread. Whoever owns a scheduler owns
// everything posted through it: destroying the scheduler drops every task and timer that has
// not run yet, so no task can outlive the object whose state it touches.
class Scheduler
{
public:
    using Task = std::function<void()>;
    using TimerId = std::uint64_t;

    virtual ~Scheduler() = default;

    // Runs the task from the event loop, after the current call has returned. Tasks posted
    // this way run in the order they were posted.
    virtual void post(Task task) = 0;
    // Runs the task from the event loop once the clock has reached `at` (at once, but still
    // from the event loop, when `at` has already passed).
    virtual TimerId postAt(Millis at, Task task) = 0;
    // Forgets a timer that has not fired yet; an unknown or spent id is ignored.
    virtual void cancel(TimerId id) = 0;
};

} // namespace phone::sim
