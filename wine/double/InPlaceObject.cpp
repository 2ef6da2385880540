#include "InPlaceObject.h"

#include "ContainerLog.h"
#include "Embedding.h"
#include "EventPoint.h"
#include "FontText.h"

#include <cwchar>

namespace tervani_double {

namespace {

std::wstring classOf(HWND window)
{
    wchar_t name[128] = L"";
    if (!window || !GetClassNameW(window, name, 128))
        return L"(none)";
    return name;
}

} // namespace

InPlaceObject::InPlaceObject(IUnknown &owner, Embedding &embedding, EventPoint &events,
                             ControlWindow::Delivery deliver)
    : m_owner(owner)
    , m_embedding(embedding)
    , m_events(events)
    , m_window(std::move(deliver))
{}

HRESULT InPlaceObject::activate(IOleClientSite *site)
{
    if (active())
        return S_OK;
    if (!site)
        return E_INVALIDARG;
    ComPtr<IOleInPlaceSiteEx> siteEx;
    ComPtr<IOleInPlaceSite> inPlaceSite;
    if (SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteEx, siteEx.putVoid())) && siteEx)
        inPlaceSite = ComPtr<IOleInPlaceSite>::retain(siteEx.get());
    else if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, inPlaceSite.putVoid())))
        return E_NOINTERFACE;
    if (!inPlaceSite || inPlaceSite->CanInPlaceActivate() != S_OK)
        return E_FAIL;

    BOOL noRedraw = FALSE;
    HRESULT hr =
        siteEx ? siteEx->OnInPlaceActivateEx(&noRedraw, 0) : inPlaceSite->OnInPlaceActivate();
    if (FAILED(hr))
        return hr;
    HWND parent = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    if (SUCCEEDED(hr = inPlaceSite->GetWindow(&parent)))
        hr = inPlaceSite->GetWindowContext(frame.put(), document.put(), &position, &clip,
                                           &frameInfo);
    if (SUCCEEDED(hr))
        hr = m_window.create(parent, position);
    if (FAILED(hr)) {
        // The site was told the activation began, so it learns that it ended.
        if (siteEx)
            siteEx->OnInPlaceDeactivateEx(TRUE);
        else
            inPlaceSite->OnInPlaceDeactivate();
        return hr;
    }
    m_site = inPlaceSite;
    m_siteEx = siteEx;
    m_frame = frame;
    m_document = document;
    return S_OK;
}

void InPlaceObject::deactivate()
{
    if (!m_site)
        return;
    m_window.destroy();
    if (m_siteEx)
        m_siteEx->OnInPlaceDeactivateEx(TRUE);
    else
        m_site->OnInPlaceDeactivate();
    m_document.reset();
    m_frame.reset();
    m_siteEx.reset();
    m_site.reset();
}

std::wstring InPlaceObject::windowDescription() const
{
    const HWND window = m_window.handle();
    if (!window)
        return L"";
    const HWND parent = GetParent(window);
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT *>(&rect), 2);
    HWND frameWindow = nullptr;
    if (m_frame)
        m_frame->GetWindow(&frameWindow);
    wchar_t text[256];
    std::swprintf(text, 256, L"%ls at %ld,%ld size %ldx%ld, frame %ls, site %ls",
                  classOf(parent).c_str(), rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, classOf(frameWindow).c_str(),
                  m_siteEx ? L"IOleInPlaceSiteEx" : L"IOleInPlaceSite");
    return text;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::QueryInterface(REFIID iid, void **object)
{
    return m_owner.QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE InPlaceObject::AddRef()
{
    return m_owner.AddRef();
}

ULONG STDMETHODCALLTYPE InPlaceObject::Release()
{
    return m_owner.Release();
}

HRESULT STDMETHODCALLTYPE InPlaceObject::GetWindow(HWND *window)
{
    if (!window)
        return E_POINTER;
    *window = m_window.handle();
    return *window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::InPlaceDeactivate()
{
    recordContainerCall(L"InPlaceDeactivate");
    deactivate();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::UIDeactivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position)
        return E_POINTER;
    if (const HWND window = m_window.handle())
        MoveWindow(window, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::ReactivateAndUndo()
{
    return INPLACE_E_NOTUNDOABLE;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::GetControlInfo(CONTROLINFO *info)
{
    if (!info)
        return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::OnMnemonic(MSG *)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::OnAmbientPropertyChange(DISPID)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::FreezeEvents(BOOL freeze)
{
    recordContainerCall(freeze ? L"FreezeEvents(1)" : L"FreezeEvents(0)");
    m_freezes += freeze ? 1 : -1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::QuickActivate(QACONTAINER *container, QACONTROL *control)
{
    if (!container || !control)
        return E_POINTER;
    if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    recordContainerCall(L"QuickActivate");
    wchar_t text[256];
    std::swprintf(text, 256,
                  L"flags 0x%lX fore 0x%08lX back 0x%08lX locale 0x%04lX font %ls control site "
                  L"%ls event sink %ls",
                  static_cast<unsigned long>(container->dwAmbientFlags),
                  static_cast<unsigned long>(container->colorFore),
                  static_cast<unsigned long>(container->colorBack),
                  static_cast<unsigned long>(container->lcid), fontText(container->pFont).c_str(),
                  container->pOleControlSite ? L"yes" : L"no",
                  container->pUnkEventSink ? L"yes" : L"no");
    m_quickContainer = text;

    m_embedding.attachSite(container->pClientSite);
    control->dwMiscStatus = m_embedding.miscStatus();
    control->dwViewStatus = 0;
    control->dwEventCookie = 0;
    control->dwPropNotifyCookie = 0;
    control->dwPointerActivationPolicy = 0;
    if (container->pUnkEventSink
        && FAILED(m_events.Advise(container->pUnkEventSink, &control->dwEventCookie)))
        control->dwEventCookie = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::SetContentExtent(LPSIZEL extent)
{
    if (!extent)
        return E_POINTER;
    m_embedding.setExtent(*extent);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE InPlaceObject::GetContentExtent(LPSIZEL extent)
{
    if (!extent)
        return E_POINTER;
    *extent = m_embedding.extent();
    return S_OK;
}

} // namespace tervani_double
