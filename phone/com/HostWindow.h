#pragma once

#include <windows.h>

namespace phone::com {

// The adapter's own window for a control when the program gives none: top-level, never
// shown, but a real window, so the control's child window, timers and posted messages work
// as on a form. Destroyed with this object, on the thread that made it.
class HostWindow
{
public:
    // Throws phone::Error when the system gives no window (under Wine: no graphics driver).
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow &) = delete;
    HostWindow &operator=(const HostWindow &) = delete;

    HWND handle() const { return m_handle; }

    static constexpr wchar_t className[] = L"TervaniControlHost";

private:
    HWND m_handle = nullptr;
};

} // namespace phone::com
