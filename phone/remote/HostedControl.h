#pragma once

#include "phone/Dispatch.h"
#include "phone/remote/HostProcess.h"
#include "phone/remote/RemoteControl.h"

#include <string_view>

namespace phone::remote {

// The control in a host process of its own: the process started, the control created in it,
// and both gone with this object (the control first, then the host, told to close).
class HostedControl final : public Dispatch
{
public:
    // Throws phone::Error (ErrorKind::Component) with a German text when the host cannot be
    // started or reached, or the control not created; the host is ended again then.
    HostedControl(const HostCommand &command, std::u16string_view progId,
                  RemoteControl::Post post = {});

    Value getProperty(std::int32_t dispId) override { return m_control.getProperty(dispId); }
    void putProperty(std::int32_t dispId, const Value &value) override
    {
        m_control.putProperty(dispId, value);
    }
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override
    {
        return m_control.invoke(dispId, arguments);
    }
    void connectEvents(EventSink *sink) override { m_control.connectEvents(sink); }

    RemoteControl &remote() { return m_control; }

private:
    HostProcess m_process;
    RemoteControl m_control;
};

} // namespace phone::remote
