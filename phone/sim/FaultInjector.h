#pragma once

#include "phone/Value.h"

#include <cstdint>
#include <map>
#include <optional>

namespace phone::sim {

enum class FaultMode {
    NextAccess,  // the next access fails, later ones succeed again
    EveryAccess, // every access fails until the fault is cleared
};

// Failures put into the simulated control on purpose, so that the bench's error paths can be
// seen: a member whose access raises an error of the control, and a ConnectionCount that
// answers a value the bench cannot take.
class FaultInjector
{
public:
    void inject(std::int32_t dispId, FaultMode mode);
    void clear(std::int32_t dispId);
    // Clears the member faults and the ConnectionCount answer.
    void clearAll();
    const std::map<std::int32_t, FaultMode> &faults() const { return m_faults; }

    // Throws the control's error when the member is set to fail; a NextAccess fault is used
    // up by this.
    void check(std::int32_t dispId);

    // The value ConnectionCount answers instead of the true count; nothing for the true count.
    void setConnectionCountAnswer(std::optional<Value> answer)
    {
        m_countAnswer = std::move(answer);
    }
    const std::optional<Value> &connectionCountAnswer() const { return m_countAnswer; }

private:
    std::map<std::int32_t, FaultMode> m_faults;
    std::optional<Value> m_countAnswer;
};

} // namespace phone::sim
