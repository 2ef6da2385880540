#include "ControlWindow.h"

#include "Module.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tervani_double {

namespace {

constexpr wchar_t className[] = L"TervaniDoubleWindow";
constexpr UINT eventMessage = WM_APP + 1;

bool classRegistered = false;

// The tests and the doubles share one thread.
std::vector<ControlWindow *> &liveWindows()
{
    static std::vector<ControlWindow *> windows;
    return windows;
}

HRESULT registerClass(WNDPROC procedure)
{
    if (classRegistered)
        return S_OK;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = moduleHandle();
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass))
        return HRESULT_FROM_WIN32(GetLastError());
    classRegistered = true;
    return S_OK;
}

} // namespace

ControlWindow::ControlWindow(Delivery deliver)
    : m_deliver(std::move(deliver))
{}

ControlWindow::~ControlWindow()
{
    destroy();
}

HRESULT ControlWindow::create(HWND parent, const RECT &position)
{
    if (m_handle)
        return S_OK;
    if (const HRESULT registered = registerClass(procedure); FAILED(registered))
        return registered;
    m_handle =
        CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, position.left,
                        position.top, position.right - position.left,
                        position.bottom - position.top, parent, nullptr, moduleHandle(), this);
    if (!m_handle) {
        const DWORD error = GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    liveWindows().push_back(this);
    return S_OK;
}

void ControlWindow::destroy()
{
    auto &windows = liveWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    if (const HWND window = std::exchange(m_handle, nullptr))
        DestroyWindow(window);
    m_pending.clear();
    m_timed.clear();
}

bool ControlWindow::post(PostedEvent event)
{
    if (!m_handle)
        return false;
    m_pending.push_back(std::move(event));
    return PostMessageW(m_handle, eventMessage, 0, 0);
}

bool ControlWindow::postAfter(PostedEvent event, UINT milliseconds)
{
    if (!m_handle)
        return false;
    const UINT_PTR timer = m_nextTimer++;
    if (!SetTimer(m_handle, timer, milliseconds, nullptr))
        return false;
    m_timed.emplace_back(timer, std::move(event));
    return true;
}

long ControlWindow::broadcast(const PostedEvent &event)
{
    long reached = 0;
    for (ControlWindow *window : liveWindows()) {
        if (window->post(event))
            ++reached;
    }
    return reached;
}

void ControlWindow::unregisterClass()
{
    if (classRegistered && liveWindows().empty())
        classRegistered = !UnregisterClassW(className, moduleHandle());
}

LRESULT CALLBACK ControlWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *creation = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    } else if (message == eventMessage || message == WM_TIMER) {
        auto *self = reinterpret_cast<ControlWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_TIMER)
            self->deliverTimed(wParam);
        else if (self)
            self->deliverNext();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void ControlWindow::deliverNext()
{
    if (m_pending.empty())
        return;
    const PostedEvent event = std::move(m_pending.front());
    m_pending.pop_front();
    // The sink may deactivate the control, and so destroy this window, while it runs.
    const Delivery deliver = m_deliver;
    deliver(event);
}

void ControlWindow::deliverTimed(UINT_PTR timer)
{
    KillTimer(m_handle, timer);
    const auto found = std::find_if(m_timed.begin(), m_timed.end(),
                                    [timer](const auto &timed) { return timed.first == timer; });
    if (found == m_timed.end())
        return;
    const PostedEvent event = std::move(found->second);
    m_timed.erase(found);
    const Delivery deliver = m_deliver;
    deliver(event);
}

} // namespace tervani_double
