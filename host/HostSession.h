#pragma once

#include "host/MainWindow.h"
#include "host/OleApartment.h"
#include "phone/Dispatch.h"
#include "phone/com/ComControl.h"

#include <memory>
#include <string_view>

namespace phone::host {

// The control placed in `window` at the form's design place.
phone::com::HostingOptions hostingIn(const MainWindow &window);

// The control hosted in the program's own window, on this thread's apartment, activated in
// place as the form hosts it. What the bench's connection will work on: the members through
// control(), the events through control().connectEvents(), the thread kept by
// runMessageLoop() until the window closes.
class HostSession
{
public:
    // Throws phone::Error: the adapter's German text when the control cannot be created.
    explicit HostSession(std::u16string_view progId, bool showWindow = false);
    HostSession(const HostSession &) = delete;
    HostSession &operator=(const HostSession &) = delete;

    phone::com::ComControl &control() { return *m_control; }
    MainWindow &window() { return m_window; }

private:
    // In this order, so the control goes first, out of a window that still stands.
    OleApartment m_apartment;
    MainWindow m_window;
    std::unique_ptr<phone::com::ComControl> m_control;
};

} // namespace phone::host
