#pragma once

#include "phone/Dispatch.h"
#include "phone/scripted/ScriptedControl.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace logbench {

// The benchmark's source of events: it raises OnConnected events from the stand-in control
// on demand and has it answer the window's reads of ConnectionCount and LatestText. Both
// values change with every event, LatestText to a text no earlier event had, so every event
// really changes the labels and the newest caption on screen tells which event the window has
// caught up with. The event's line is about 70 characters long.
class EventFeed
{
public:
    EventFeed();

    phone::Dispatch &control() { return m_control; }

    // Raises the next event through the control's connected sink.
    void raise();

    std::uint32_t serial() const { return m_serial; }
    // The serial of the event whose LatestText the caption of LBL_Last shows.
    static std::optional<std::uint32_t> serialShownIn(const QString &caption);
    // The line the newest event must have added.
    std::u16string expectedLine() const;

private:
    phone::scripted::ScriptedControl m_control;
    phone::EventArguments m_arguments;
    std::u16string m_latestText;
    std::uint32_t m_serial = 0;
};

} // namespace logbench
