#pragma once

#include <chrono>

namespace phone::sim {

// Time of the simulation in milliseconds since an arbitrary start. Everything the softphone
// does later (ring-back, ringing, a caller giving up) is measured against this clock, so a
// test can move it by hand instead of waiting.
using Millis = std::chrono::milliseconds;

class Clock
{
public:
    virtual ~Clock() = default;
    virtual Millis now() const = 0;
};

// The real passage of time, monotonic, counted from construction.
class SteadyClock : public Clock
{
public:
    Millis now() const override
    {
        return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - m_start);
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace phone::sim
