#include "phone/com/HostWindow.h"

#include "phone/Error.h"
#include "phone/com/ComError.h"

namespace phone::com {

namespace {

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// The module this code is linked into, so the class belongs to it in a DLL as in a program.
HINSTANCE thisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
                           | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&hostProcedure), &module);
    return module;
}

void registerClass(HINSTANCE module)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = hostProcedure;
    windowClass.hInstance = module;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = HostWindow::className;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        check(HRESULT_FROM_WIN32(GetLastError()));
}

} // namespace

HostWindow::HostWindow()
{
    const HINSTANCE module = thisModule();
    registerClass(module);
    m_handle =
        CreateWindowExW(0, className, L"Tervani", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr, module, nullptr);
    if (!m_handle) {
        const DWORD error = GetLastError();
        // Wine's window creation without a graphics driver fails without an error code.
        if (error == ERROR_SUCCESS)
            throw Error(ErrorKind::Component, "Kein Fenster für das Steuerelement (kein "
                                              "Grafiktreiber?)");
        check(HRESULT_FROM_WIN32(error));
    }
}

HostWindow::~HostWindow()
{
    DestroyWindow(m_handle);
}

} // namespace phone::com
