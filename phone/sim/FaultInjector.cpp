#include "phone/sim/FaultInjector.h"

#include "phone/Error.h"
#include "phone/Members.h"

#include <string>

namespace phone::sim {

void FaultInjector::inject(std::int32_t dispId, FaultMode mode)
{
    m_faults[dispId] = mode;
}

void FaultInjector::clear(std::int32_t dispId)
{
    m_faults.erase(dispId);
}

void FaultInjector::clearAll()
{
    m_faults.clear();
    m_countAnswer.reset();
}

void FaultInjector::check(std::int32_t dispId)
{
    const auto it = m_faults.find(dispId);
    if (it == m_faults.end())
        return;
    if (it->second == FaultMode::NextAccess)
        m_faults.erase(it);
    const Member *member = findMember(dispId);
    const std::string name = member ? std::string(member->name) : std::to_string(dispId);
    throw Error(ErrorKind::Component, "Simulierter Fehler beim Zugriff auf " + name);
}

} // namespace phone::sim
