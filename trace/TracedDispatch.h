#pragma once

#include "phone/Dispatch.h"
#include "phone/scripted/ScriptedControl.h"

#include <functional>

namespace trace {

// Passes every access on to the control and tells `seen` of it first, before the control
// answers, so that an access that fails or never returns is seen too.
class TracedDispatch final : public phone::Dispatch
{
public:
    using Seen = std::function<void(const phone::scripted::Access &access)>;

    TracedDispatch(phone::Dispatch &control, Seen seen)
        : m_control(control)
        , m_seen(std::move(seen))
    {}

    phone::Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const phone::Value &value) override;
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override;
    void connectEvents(phone::EventSink *sink) override { m_control.connectEvents(sink); }

private:
    phone::Dispatch &m_control;
    Seen m_seen;
};

} // namespace trace
