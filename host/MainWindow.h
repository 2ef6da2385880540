#pragma once

#include <windows.h>

namespace phone::host {

// The host program's own top-level window, which holds the control. Closing it ends the
// message loop but leaves the window standing, so the control is deactivated inside it
// before the window goes with this object.
class MainWindow
{
public:
    // Throws phone::Error when the system gives no window.
    explicit MainWindow(bool show);
    ~MainWindow();
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    HWND handle() const { return m_handle; }
    // From any thread: asks the window to close, as its close box does.
    void requestClose() const;

    static constexpr wchar_t className[] = L"TervaniHostWindow";

private:
    HWND m_handle = nullptr;
};

} // namespace phone::host
