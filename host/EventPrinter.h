#pragma once

#include "phone/Dispatch.h"

#include <ostream>
#include <string>

namespace phone::host {

// One line per event the control raises, as it came:
// OnRing CallingNumber="0711 12345" CalledMSN="4711" CallID=42
std::string eventLine(std::string_view name, const EventArguments &arguments);

// Writes eventLine() for every event to the stream, flushed, so a tester on a Windows
// machine sees the real control's events as they come.
class EventPrinter final : public EventSink
{
public:
    explicit EventPrinter(std::ostream &out)
        : m_out(out)
    {}

    void controlEvent(std::string_view name, const EventArguments &arguments) override;

private:
    std::ostream &m_out;
};

} // namespace phone::host
