#include "Embedding.h"

#include "ContainerLog.h"
#include "InPlaceObject.h"

#include <olectl.h>

namespace tervani_double {

Embedding::Embedding(IUnknown &owner, const CLSID &classId, HRESULT initResult, DWORD miscStatus)
    : m_owner(owner)
    , m_classId(classId)
    , m_initResult(initResult)
    , m_miscStatus(miscStatus)
{}

VARIANT Embedding::ambient(DISPID id) const
{
    VARIANT result;
    VariantInit(&result);
    const auto properties = m_site.query<IDispatch>();
    if (!properties)
        return result;
    DISPPARAMS none{};
    if (FAILED(properties->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                  &result, nullptr, nullptr)))
        VariantClear(&result);
    return result;
}

VARIANT Embedding::siteUserMode() const
{
    return ambient(DISPID_AMBIENT_USERMODE);
}

HRESULT STDMETHODCALLTYPE Embedding::QueryInterface(REFIID iid, void **object)
{
    return m_owner.QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE Embedding::AddRef()
{
    return m_owner.AddRef();
}

ULONG STDMETHODCALLTYPE Embedding::Release()
{
    return m_owner.Release();
}

HRESULT STDMETHODCALLTYPE Embedding::SetClientSite(IOleClientSite *site)
{
    recordContainerCall(site ? L"SetClientSite" : L"SetClientSite(null)");
    m_site = ComPtr<IOleClientSite>::retain(site);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::GetClientSite(IOleClientSite **site)
{
    if (!site)
        return E_POINTER;
    *site = m_site.get();
    if (*site)
        (*site)->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::SetHostNames(LPCOLESTR, LPCOLESTR)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::Close(DWORD saveOption)
{
    recordContainerCall(L"Close(" + std::to_wstring(saveOption) + L")");
    if (m_inPlace)
        m_inPlace->deactivate();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::SetMoniker(DWORD, IMoniker *)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::GetMoniker(DWORD, DWORD, IMoniker **moniker)
{
    if (moniker)
        *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::InitFromData(IDataObject *, WINBOOL, DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::GetClipboardData(DWORD, IDataObject **data)
{
    if (data)
        *data = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::DoVerb(LONG verb, LPMSG, IOleClientSite *activeSite, LONG,
                                            HWND, LPCRECT)
{
    recordContainerCall(L"DoVerb(" + std::to_wstring(verb) + L")");
    if (!m_inPlace)
        return E_NOTIMPL;
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_INPLACEACTIVATE:
        return m_inPlace->activate(activeSite ? activeSite : m_site.get());
    case OLEIVERB_HIDE:
        m_inPlace->deactivate();
        return S_OK;
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT STDMETHODCALLTYPE Embedding::EnumVerbs(IEnumOLEVERB **verbs)
{
    if (verbs)
        *verbs = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::Update()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::IsUpToDate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::GetUserClassID(CLSID *classId)
{
    return GetClassID(classId);
}

HRESULT STDMETHODCALLTYPE Embedding::GetUserType(DWORD, LPOLESTR *type)
{
    if (type)
        *type = nullptr;
    return OLE_S_USEREG;
}

HRESULT STDMETHODCALLTYPE Embedding::SetExtent(DWORD aspect, SIZEL *extent)
{
    if (!extent)
        return E_POINTER;
    recordContainerCall(L"SetExtent(" + std::to_wstring(extent->cx) + L"x"
                        + std::to_wstring(extent->cy) + L")");
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    m_extent = *extent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::GetExtent(DWORD aspect, SIZEL *extent)
{
    if (!extent)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *extent = m_extent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::Advise(IAdviseSink *, DWORD *connection)
{
    if (connection)
        *connection = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::Unadvise(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::EnumAdvise(IEnumSTATDATA **advise)
{
    if (advise)
        *advise = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::GetMiscStatus(DWORD, DWORD *status)
{
    if (!status)
        return E_POINTER;
    *status = m_miscStatus;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::SetColorScheme(LOGPALETTE *)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::GetClassID(CLSID *classId)
{
    if (!classId)
        return E_POINTER;
    *classId = m_classId;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Embedding::IsDirty()
{
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE Embedding::Load(LPSTREAM)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::Save(LPSTREAM, WINBOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::GetSizeMax(ULARGE_INTEGER *)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE Embedding::InitNew()
{
    recordContainerCall(L"InitNew");
    if (m_initialised)
        return E_UNEXPECTED;
    if (FAILED(m_initResult))
        return m_initResult;
    m_initialised = true;
    m_initialisedWithSite = static_cast<bool>(m_site);
    return S_OK;
}

} // namespace tervani_double
