#include "phone/com/ClientSite.h"

#include <olectl.h>

namespace phone::com {

ComPtr<IOleClientSite> ClientSite::create()
{
    return ComPtr<IOleClientSite>::adopt(new ClientSite);
}

HRESULT STDMETHODCALLTYPE ClientSite::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite *>(this);
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
ULONG STDMETHODCALLTYPE ClientSite::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE ClientSite::Release()
{
    const ULONG remaining = --m_references;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT STDMETHODCALLTYPE ClientSite::SaveObject()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClientSite::GetMoniker(DWORD, DWORD, IMoniker **moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ClientSite::GetContainer(IOleContainer **container)
{
    if (container)
        *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ClientSite::ShowObject()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClientSite::OnShowWindow(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ClientSite::RequestNewObjectLayout()
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ClientSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS *,
                                             VARIANT *result, EXCEPINFO *, UINT *)
{
    // Every other ambient property is left to the control's own default.
    if (id != DISPID_AMBIENT_USERMODE)
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (!result)
        return E_POINTER;
    VariantClear(result);
    result->vt = VT_BOOL;
    result->boolVal = VARIANT_TRUE;
    return S_OK;
}

} // namespace phone::com
