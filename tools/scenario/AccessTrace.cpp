#include "tools/scenario/AccessTrace.h"

namespace scenario {

using phone::scripted::Access;

void traceAccesses(phone::scripted::ScriptedControl &control, std::ostream &transcript)
{
    control.onAccess([&transcript](const Access &access) {
        transcript << phone::scripted::accessLine(access) << '\n';
    });
}

} // namespace scenario
