#pragma once

#include "phone/Dispatch.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace bench {

// A scripted control for the benchmark: it raises OnConnected events on demand and answers
// the window's reads of ConnectionCount and LatestText. Both values change with every event,
// LatestText to a text no earlier event had, so every event really changes the labels and the
// newest caption on screen tells which event the window has caught up with. The event's line
// is about 70 characters long.
class BenchControl : public phone::Dispatch
{
public:
    BenchControl();

    phone::Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t, const phone::Value &) override {}
    phone::Value invoke(std::int32_t, std::span<phone::Argument>) override { return {}; }
    void connectEvents(phone::EventSink *sink) override { m_sink = sink; }

    // Raises the next event through the connected sink.
    void raise();

    std::uint32_t serial() const { return m_serial; }
    // The serial of the event whose LatestText the caption of LBL_Last shows.
    static std::optional<std::uint32_t> serialShownIn(const QString &caption);
    // The line the newest event must have added.
    std::u16string expectedLine() const;

private:
    phone::EventSink *m_sink = nullptr;
    phone::EventArguments m_arguments;
    std::u16string m_latestText;
    std::uint32_t m_serial = 0;
};

} // namespace bench
