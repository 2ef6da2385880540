#include "phone/remote/HostedControl.h"

#include <utility>

namespace phone::remote {

HostedControl::HostedControl(const HostCommand &command, std::u16string_view progId,
                             RemoteControl::Post post)
    : m_process(command)
    , m_control(m_process.channel(), progId, std::move(post))
{}

} // namespace phone::remote
