#include "tools/scenario/AccessTrace.h"

namespace scenario {

void traceAccesses(phone::scripted::ScriptedControl &control, std::ostream &transcript)
{
    control.onAccess([&transcript](const phone::scripted::Access &access) {
        transcript << phone::scripted::accessLine(access) << '\n';
    });
}

} // namespace scenario
