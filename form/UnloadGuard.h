#pragma once

#include "phone/Dispatch.h"

namespace form {

// Thrown when a handler reaches the window or the control after the window has been unloaded
// (the user closed it while a box was open, or while a call into the control let the event loop
// run). It ends the handler quietly: there is no window left to report to.
struct WindowUnloaded
{
};

// The window's way to the control: once the window has been unloaded it lets no access through,
// so a handler still on the stack cannot touch the control afterwards.
class UnloadGuard : public phone::Dispatch
{
public:
    UnloadGuard(phone::Dispatch &control, const bool &unloaded)
        : m_control(control)
        , m_unloaded(unloaded)
    {}

    phone::Value getProperty(std::int32_t dispId) override
    {
        check();
        return m_control.getProperty(dispId);
    }
    void putProperty(std::int32_t dispId, const phone::Value &value) override
    {
        check();
        m_control.putProperty(dispId, value);
    }
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override
    {
        check();
        return m_control.invoke(dispId, arguments);
    }
    void connectEvents(phone::EventSink *sink) override { m_control.connectEvents(sink); }

private:
    void check() const
    {
        if (m_unloaded)
            throw WindowUnloaded{};
    }

    phone::Dispatch &m_control;
    const bool &m_unloaded;
};

} // namespace form
