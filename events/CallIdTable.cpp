#include "events/CallIdTable.h"

#include "phone/Error.h"

#include <string>

namespace events {

std::size_t CallIdTable::checkedIndex(std::int32_t index, const char *verb)
{
    // One unsigned comparison: a negative index wraps to a huge value and fails too.
    const auto slot = static_cast<std::uint32_t>(index);
    if (slot >= slotCount) {
        phone::Error error(phone::ErrorKind::Range);
        error.setAccess("CallIDs(" + std::to_string(index) + ") " + verb);
        throw error;
    }
    return slot;
}

void CallIdTable::store(std::int32_t index, std::int32_t callId)
{
    m_slots[checkedIndex(index, "schreiben")] = callId;
}

std::int32_t CallIdTable::fetch(std::int32_t index) const
{
    return m_slots[checkedIndex(index, "lesen")];
}

} // namespace events
