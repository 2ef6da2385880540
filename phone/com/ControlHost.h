#pragma once

#include "phone/com/ComPtr.h"
#include "phone/com/ControlSite.h"
#include "phone/com/HostWindow.h"
#include "phone/com/Hosting.h"

#include <windows.h>

#include <ocidl.h>
#include <ole2.h>

#include <memory>

namespace phone::com {

// Embeds a created control the way a form does, one step at a time, and takes it out again
// in the reverse order on every path: InPlaceDeactivate, Close, and the site removed.
// Failing steps throw phone::Error with the system's reason.
class ControlHost
{
public:
    // Makes the site, and the hidden window when the placement names no parent. Asks the
    // control nothing yet.
    ControlHost(const ComPtr<IUnknown> &control, const ControlPlacement &placement);
    ~ControlHost();
    ControlHost(const ControlHost &) = delete;
    ControlHost &operator=(const ControlHost &) = delete;

    bool offersQuickActivate() const { return static_cast<bool>(m_quickActivate); }
    // Site, ambient values and the event sink in one call. The control connects the sink
    // itself and writes its cookie, or leaves 0 when it did not. When the control refuses,
    // initialise() takes the steps one by one.
    void quickActivate(IUnknown *eventSink, DWORD &eventCookie);
    // InitNew, and the site before or after it as the control asks, unless QuickActivate
    // gave it already.
    void initialise();
    // Extent, in-place activation in the parent window, events thawed.
    void activate();
    // The reverse of whatever was done; safe to call again.
    void close() noexcept;

    // The control's own window while it is active in place, else nullptr.
    HWND controlWindow() const;
    // The window the control is placed in.
    HWND parentWindow() const { return m_parent; }

private:
    ControlPlacement m_placement;
    std::unique_ptr<HostWindow> m_ownWindow;
    HWND m_parent = nullptr;
    ComPtr<ControlSite> m_site;
    ComPtr<IOleObject> m_oleObject;
    ComPtr<IPersistStreamInit> m_persist;
    ComPtr<IQuickActivate> m_quickActivate;
    ComPtr<IOleControl> m_oleControl;
    ComPtr<IOleInPlaceObject> m_inPlaceObject;
    bool m_siteSet = false;
    bool m_activationTried = false;
};

} // namespace phone::com
