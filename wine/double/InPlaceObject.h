#pragma once

#include "ControlWindow.h"
#include "phone/com/ComPtr.h"

#include <ocidl.h>
#include <oleidl.h>

#include <string>

namespace tervani_double {

using phone::com::ComPtr;

class Embedding;
class EventPoint;

// The windowed doubles' in-place side: a child window made only on in-place activation,
// inside the window the site names at the place it names; events frozen and thawed by count
// as MFC counts them; and quick activation, which sets the site and connects the event sink
// in one call. Part of the control, sharing its reference count.
class InPlaceObject final : public IOleInPlaceObject, public IOleControl, public IQuickActivate
{
public:
    InPlaceObject(IUnknown &owner, Embedding &embedding, EventPoint &events,
                  ControlWindow::Delivery deliver);
    InPlaceObject(const InPlaceObject &) = delete;
    InPlaceObject &operator=(const InPlaceObject &) = delete;

    // What IOleObject::DoVerb does for the activating verbs, through the given site.
    HRESULT activate(IOleClientSite *site);
    // Without recording a container call: as Close deactivates.
    void deactivate();
    bool active() const { return m_window.handle() != nullptr; }
    // A count other than zero, below zero included, holds events back.
    bool eventsFrozen() const { return m_freezes != 0; }
    bool post(PostedEvent event) { return m_window.post(std::move(event)); }
    bool postAfter(PostedEvent event, UINT milliseconds)
    {
        return m_window.postAfter(std::move(event), milliseconds);
    }

    // For the tests: see DoubleIds.h, dispid::Window and dispid::QuickContainer.
    std::wstring windowDescription() const;
    const std::wstring &quickContainer() const { return m_quickContainer; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;

    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO *info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG *) override;
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override;
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) override;

    // IQuickActivate
    HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER *container, QACONTROL *control) override;
    HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL extent) override;
    HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL extent) override;

private:
    IUnknown &m_owner;
    Embedding &m_embedding;
    EventPoint &m_events;
    ControlWindow m_window;
    ComPtr<IOleInPlaceSite> m_site;
    ComPtr<IOleInPlaceSiteEx> m_siteEx;
    ComPtr<IOleInPlaceFrame> m_frame;
    ComPtr<IOleInPlaceUIWindow> m_document;
    LONG m_freezes = 0;
    std::wstring m_quickContainer;
};

} // namespace tervani_double
