#pragma once

#include "phone/Dispatch.h"

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
inline CallEvent toCallEvent(const EventArguments &arguments)
{
    return CallEvent{toText(arguments.callingNumber), toText(arguments.calledMSN),
                     toInt32(arguments.callID)};
}

} // namespace phone
