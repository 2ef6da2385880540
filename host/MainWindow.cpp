#include "host/MainWindow.h"

#include "phone/com/ComError.h"

namespace phone::host {

namespace {

LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void checkLastError()
{
    const DWORD error = GetLastError();
    // Wine without a graphics driver fails to create windows without saying why.
    phone::com::check(error ? HRESULT_FROM_WIN32(error) : E_FAIL);
}

} // namespace

MainWindow::MainWindow(bool show)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainProcedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        checkLastError();
    m_handle = CreateWindowExW(0, className, L"Tervani-Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance,
                               nullptr);
    if (!m_handle)
        checkLastError();
    if (show)
        ShowWindow(m_handle, SW_SHOWNORMAL);
}

MainWindow::~MainWindow()
{
    DestroyWindow(m_handle);
}

void MainWindow::requestClose() const
{
    PostMessageW(m_handle, WM_CLOSE, 0, 0);
}

} // namespace phone::host
