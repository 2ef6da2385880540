#include "host/HostSession.h"

namespace phone::host {

HostSession::HostSession(std::u16string_view progId, bool showWindow)
    : m_window(showWindow)
{
    phone::com::HostingOptions hosting;
    hosting.placement.parent = m_window.handle();
    m_control = std::make_unique<phone::com::ComControl>(progId, hosting);
}

} // namespace phone::host
