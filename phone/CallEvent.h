#pragma once

#include "phone/Dispatch.h"
#include "phone/Error.h"

#include <cstdint>
#include <string>

namespace phone {

// The three arguments of every handled call event, as the window takes them.
struct CallEvent
{
    std::u16string CallingNumber;
    std::u16string CalledMSN;
    std::int32_t CallID = 0;
};

// Takes the control's by-reference event arguments as text, text and 32-bit identifier.
// Throws phone::Error where the identifier cannot be taken as a number.
// The error names the argument that could not be taken.
inline CallEvent toCallEvent(const EventArguments &arguments)
{
    const char *argument = "CallingNumber";
    try {
        CallEvent event;
        event.CallingNumber = toText(arguments.callingNumber);
        argument = "CalledMSN";
        event.CalledMSN = toText(arguments.calledMSN);
        argument = "CallID";
        event.CallID = toInt32(arguments.callID);
        return event;
    } catch (Error &error) {
        error.setAccess(std::string("Ereignisargument ") + argument + " lesen");
        throw;
    }
}

} // namespace phone
