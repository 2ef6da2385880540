#pragma once

#include "phone/Dispatch.h"
#include "phone/scripted/ScriptedControl.h"

#include <functional>
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

// Any other control, its accesses printed the same way before they are passed on; `inside`
// runs between the two, as if inside the control's access.
class TracingDispatch final : public phone::Dispatch
{
public:
    TracingDispatch(phone::Dispatch &control, std::ostream &transcript,
                    std::function<void(std::int32_t dispId)> inside = {})
        : m_control(control)
        , m_out(transcript)
        , m_inside(std::move(inside))
    {}

    phone::Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const phone::Value &value) override;
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override;
    void connectEvents(phone::EventSink *sink) override { m_control.connectEvents(sink); }

private:
    void trace(const phone::scripted::Access &access);

    phone::Dispatch &m_control;
    std::ostream &m_out;
    std::function<void(std::int32_t)> m_inside;
};

} // namespace scenario
