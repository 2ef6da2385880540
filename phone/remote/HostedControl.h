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

    Value getProperty(std::int32_t dispId) override
    {
        return explained([&] { return m_control.getProperty(dispId); });
    }
    void putProperty(std::int32_t dispId, const Value &value) override
    {
        explained([&] {
            m_control.putProperty(dispId, value);
            return Value{};
        });
    }
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override
    {
        return explained([&] { return m_control.invoke(dispId, arguments); });
    }
    void connectEvents(EventSink *sink) override { m_control.connectEvents(sink); }

    const RemoteControl &remote() const { return m_control; }

private:
    // The first failing access of a control that differs from the contract says so too: the
    // likeliest reason for it.
    template <typename Access>
    Value explained(Access access)
    {
        try {
            return access();
        } catch (const Error &error) {
            const auto &finding = m_control.contract();
            if (m_contractTold || !finding || finding->matches())
                throw;
            m_contractTold = true;
            throw Error(error.kind(),
                        error.description() + "\n" + contractDiffers + finding->differences(),
                        error.code());
        }
    }

    static constexpr const char *contractDiffers =
        "Das installierte Steuerelement weicht vom erwarteten Vertrag ab: ";

    HostProcess m_process;
    RemoteControl m_control;
    bool m_contractTold = false;
};

} // namespace phone::remote
