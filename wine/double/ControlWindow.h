#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>

namespace tervani_double {

// One event waiting for the window's message loop: by name, or by raw dispatch identifier
// when the name is empty.
struct PostedEvent
{
    std::wstring name;
    LONG id = 0;
    std::wstring callingNumber;
    std::wstring calledMSN;
    LONG callId = 0;
};

// The windowed double's own child window, made on in-place activation. Events posted to it
// are raised from the thread's message loop, one a message, as a real windowed control's
// arrive: never inside the call that caused them.
class ControlWindow
{
public:
    using Delivery = std::function<void(const PostedEvent &)>;

    explicit ControlWindow(Delivery deliver);
    ~ControlWindow();
    ControlWindow(const ControlWindow &) = delete;
    ControlWindow &operator=(const ControlWindow &) = delete;

    // The system's error when there is no window to be had.
    HRESULT create(HWND parent, const RECT &position);
    // Events still waiting are dropped with the window.
    void destroy();
    HWND handle() const { return m_handle; }

    // False without a window.
    bool post(PostedEvent event);
    // The event raised once, from a timer that fires after `milliseconds`. False without a
    // window.
    bool postAfter(PostedEvent event, UINT milliseconds);
    // To every window alive; returns how many.
    static long broadcast(const PostedEvent &event);
    // Once no window is left, as the DLL unloads.
    static void unregisterClass();

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void deliverNext();
    void deliverTimed(UINT_PTR timer);

    Delivery m_deliver;
    HWND m_handle = nullptr;
    std::deque<PostedEvent> m_pending;
    std::deque<std::pair<UINT_PTR, PostedEvent>> m_timed;
    UINT_PTR m_nextTimer = 1;
};

} // namespace tervani_double
