#pragma once

#include "phone/com/ComPtr.h"

#include <ocidl.h>
#include <oleidl.h>

#include <string>

namespace tervani_double {

using phone::com::ComPtr;

class InPlaceObject;

// The control's side of OLE embedding: the client site (asked for ambient properties),
// initialisation as a new object, its extent, and the verbs, which the windowed doubles'
// in-place side carries out. Records the calls a container makes. Part of the control,
// sharing its reference count.
class Embedding final : public IOleObject, public IPersistStreamInit
{
public:
    // initResult: what InitNew answers; a failure makes a control that cannot start.
    // miscStatus: what GetMiscStatus answers.
    Embedding(IUnknown &owner, const CLSID &classId, HRESULT initResult, DWORD miscStatus);
    Embedding(const Embedding &) = delete;
    Embedding &operator=(const Embedding &) = delete;

    // Without it the verbs are not implemented, as for a control that is never shown.
    void setInPlace(InPlaceObject *inPlace) { m_inPlace = inPlace; }
    // The site QuickActivate brings, not recorded as SetClientSite.
    void attachSite(IOleClientSite *site) { m_site = ComPtr<IOleClientSite>::retain(site); }
    DWORD miscStatus() const { return m_miscStatus; }
    SIZEL extent() const { return m_extent; }
    void setExtent(SIZEL extent) { m_extent = extent; }

    // The site's ambient property; Empty without a site or an answer.
    VARIANT ambient(DISPID id) const;
    VARIANT siteUserMode() const;
    bool initialisedWithSite() const { return m_initialisedWithSite; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite *site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite **site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override;
    HRESULT STDMETHODCALLTYPE Close(DWORD) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker *) override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker **moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject *, WINBOOL, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject **data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite *, LONG, HWND, LPCRECT) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB **verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override;
    HRESULT STDMETHODCALLTYPE IsUpToDate() override;
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID *classId) override;
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR *type) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL *) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL *) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink *, DWORD *connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA **advise) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD *status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE *) override;

    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *classId) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, WINBOOL) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;

private:
    IUnknown &m_owner;
    CLSID m_classId;
    HRESULT m_initResult;
    DWORD m_miscStatus;
    InPlaceObject *m_inPlace = nullptr;
    SIZEL m_extent{2540, 2540};
    ComPtr<IOleClientSite> m_site;
    bool m_initialised = false;
    bool m_initialisedWithSite = false;
};

} // namespace tervani_double
