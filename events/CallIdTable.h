#pragma once

#include <array>
#include <cstdint>

namespace events {

// Call identifiers remembered per connection count: slot n holds the call that began while
// the control reported n connections. Slots are never cleared, only overwritten.
class CallIdTable
{
public:
    static constexpr std::size_t slotCount = 11;

    // Both throw a range error, before touching any slot, for an index outside 0..10.
    void store(std::int32_t index, std::int32_t callId);
    std::int32_t fetch(std::int32_t index) const;

    const std::array<std::int32_t, slotCount> &contents() const { return m_slots; }

private:
    static std::size_t checkedIndex(std::int32_t index, const char *verb);

    std::array<std::int32_t, slotCount> m_slots{};
};

} // namespace events
