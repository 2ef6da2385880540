#pragma once

#include "phone/Dispatch.h"
#include "phone/scripted/ScriptedControl.h"

#include <ostream>

namespace scenario {

// Prints every access the control receives as a transcript line ("get ConnectionCount",
// "put PopUp i2:1", "call Dial \"0301\"") before it is answered.
void traceAccesses(phone::scripted::ScriptedControl &control, std::ostream &transcript);

// The stand-in control with its accesses traced from the start.
class TracedControl : public phone::scripted::ScriptedControl
{
public:
    explicit TracedControl(std::ostream &transcript) { traceAccesses(*this, transcript); }
};

} // namespace scenario
