#include "phone/com/ControlSite.h"

#include "phone/com/Himetric.h"

#include <olectl.h>

#include <cmath>

namespace phone::com {

ComPtr<ControlSite> ControlSite::create(HWND window)
{
    return ComPtr<ControlSite>::adopt(new ControlSite(window));
}

ControlSite::ControlSite(HWND window)
    : m_window(window)
{}

HRESULT STDMETHODCALLTYPE ControlSite::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite *>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx)
        *object = static_cast<IOleInPlaceSiteEx *>(this);
    else if (iid == IID_IOleControlSite)
        *object = static_cast<IOleControlSite *>(this);
    else if (iid == IID_IDispatch)
        *object = static_cast<IDispatch *>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// The site lives on the window's thread only, so plain counting suffices.
ULONG STDMETHODCALLTYPE ControlSite::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE ControlSite::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT STDMETHODCALLTYPE ControlSite::SaveObject()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetMoniker(DWORD, DWORD, IMoniker **moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetContainer(IOleContainer **container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ControlSite::ShowObject()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnShowWindow(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetWindow(HWND *window)
{
    if (!window)
        return E_POINTER;
    *window = m_window;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::CanInPlaceActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnUIActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetWindowContext(IOleInPlaceFrame **frame,
                                                        IOleInPlaceUIWindow **document,
                                                        LPRECT position, LPRECT clip,
                                                        LPOLEINPLACEFRAMEINFO info)
{
    if (!frame || !document || !position || !clip || !info)
        return E_POINTER;
    // The parent may be a child of the program's form; the frame is the form itself.
    const HWND topLevel = GetAncestor(m_window, GA_ROOT);
    if (!m_frame)
        m_frame = InPlaceFrame::create(topLevel ? topLevel : m_window);
    *frame = m_frame.get();
    m_frame->AddRef();
    // The frame is the document window too.
    *document = nullptr;
    *position = m_position;
    *clip = m_position;
    info->fMDIApp = FALSE;
    info->hwndFrame = topLevel ? topLevel : m_window;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::Scroll(SIZE)
{
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnUIDeactivate(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceDeactivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::DiscardUndoState()
{
    return S_OK;
}

// The control stays active in place: its events come only while it is.
HRESULT STDMETHODCALLTYPE ControlSite::DeactivateAndUndo()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnPosRectChange(LPCRECT position)
{
    if (!position)
        return E_POINTER;
    // Nothing else on the form competes for the place: the control gets what it asks for.
    m_position = *position;
    if (m_inPlaceObject)
        m_inPlaceObject->SetObjectRects(&m_position, &m_position);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceActivateEx(BOOL *noRedraw, DWORD)
{
    if (noRedraw)
        *noRedraw = FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnInPlaceDeactivateEx(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::RequestUIActivate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnControlInfoChanged()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::LockInPlaceActive(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::GetExtendedControl(IDispatch **control)
{
    if (control)
        *control = nullptr;
    return E_NOTIMPL;
}

// The container's units are the parent's pixels.
HRESULT STDMETHODCALLTYPE ControlSite::TransformCoords(POINTL *himetric, POINTF *container,
                                                       DWORD flags)
{
    if (!himetric || !container)
        return E_POINTER;
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        const SIZE pixels = himetricToPixels({himetric->x, himetric->y});
        container->x = static_cast<float>(pixels.cx);
        container->y = static_cast<float>(pixels.cy);
        return S_OK;
    }
    if (flags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        const SIZEL result =
            pixelsToHimetric({std::lround(container->x), std::lround(container->y)});
        himetric->x = result.cx;
        himetric->y = result.cy;
        return S_OK;
    }
    return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE ControlSite::TranslateAccelerator(MSG *, DWORD)
{
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE ControlSite::OnFocus(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ControlSite::ShowPropertyFrame()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *,
                                              VARIANT *result, EXCEPINFO *, UINT *)
{
    if (!(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (!result)
        return E_POINTER;
    VariantClear(result);
    return m_ambients.read(id, *result);
}

} // namespace phone::com
