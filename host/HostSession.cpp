#include "host/HostSession.h"

namespace phone::host {

phone::com::HostingOptions hostingIn(const MainWindow &window)
{
    phone::com::HostingOptions hosting;
    hosting.placement.parent = window.handle();
    return hosting;
}

HostSession::HostSession(std::u16string_view progId, bool showWindow)
    : m_window(showWindow)
    , m_control(std::make_unique<phone::com::ComControl>(progId, hostingIn(m_window)))
{}

} // namespace phone::host
