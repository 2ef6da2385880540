#include "tools/scenario/ControlUnderScript.h"

#include "tools/scenario/AccessTrace.h"

namespace scenario {

LocalControl::LocalControl(std::ostream &transcript)
{
    traceAccesses(m_control, transcript);
}

} // namespace scenario
