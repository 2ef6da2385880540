#include "tools/scenario/ControlUnderScript.h"

namespace scenario {

LocalControl::LocalControl(std::ostream &transcript)
{
    m_control.onAccess([this, &transcript](const phone::scripted::Access &access) {
        transcript << phone::scripted::accessLine(access) << '\n';
        accessed(access.dispId);
    });
}

} // namespace scenario
