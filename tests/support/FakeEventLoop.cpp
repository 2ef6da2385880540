#include "tests/support/FakeEventLoop.h"

#include <algorithm>

namespace testsupport {

using phone::sim::Millis;
using phone::sim::Scheduler;

class FakeEventLoop::Handle : public Scheduler
{
public:
    explicit Handle(FakeEventLoop &loop)
        : m_loop(loop)
    {}
    ~Handle() override { m_loop.removeAll(this); }

    void post(Task task) override { m_loop.add(this, m_loop.now(), std::move(task)); }
    TimerId postAt(Millis at, Task task) override { return m_loop.add(this, at, std::move(task)); }
    void cancel(TimerId id) override { m_loop.remove(id); }

private:
    FakeEventLoop &m_loop;
};

std::unique_ptr<Scheduler> FakeEventLoop::makeScheduler()
{
    return std::make_unique<Handle>(*this);
}

Scheduler::TimerId FakeEventLoop::add(const Handle *owner, Millis due, Scheduler::Task task)
{
    const std::uint64_t sequence = ++m_sequence;
    m_entries.push_back(Entry{due, sequence, owner, sequence, std::move(task)});
    return sequence;
}

void FakeEventLoop::remove(Scheduler::TimerId id)
{
    std::erase_if(m_entries, [id](const Entry &entry) { return entry.id == id; });
}

void FakeEventLoop::removeAll(const Handle *owner)
{
    std::erase_if(m_entries, [owner](const Entry &entry) { return entry.owner == owner; });
}

bool FakeEventLoop::runOneDueBy(Millis limit)
{
    // A timer already overdue counts as due now, so order is by max(due, now), then posting.
    const auto key = [this](const Entry &entry) {
        return std::max(entry.due, m_now);
    };
    const auto next =
        std::min_element(m_entries.begin(), m_entries.end(), [&](const Entry &a, const Entry &b) {
            return key(a) != key(b) ? key(a) < key(b) : a.sequence < b.sequence;
        });
    if (next == m_entries.end() || key(*next) > limit)
        return false;
    m_now = key(*next);
    Scheduler::Task task = std::move(next->task);
    m_entries.erase(next);
    task();
    return true;
}

void FakeEventLoop::runPending()
{
    while (runOneDueBy(m_now)) {
    }
}

void FakeEventLoop::advance(Millis duration)
{
    const Millis target = m_now + duration;
    while (runOneDueBy(target)) {
    }
    m_now = target;
}

} // namespace testsupport
