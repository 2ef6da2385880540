#pragma once

#include "phone/com/ComPtr.h"
#include "phone/com/NamelessDispatch.h"

#include <windows.h>

#include <ole2.h>

namespace phone::com {

// The minimal container a control may ask for: a client site whose ambient properties say
// the control runs in user mode, not in a form designer. Nothing is ever shown in place.
class ClientSite final : public IOleClientSite, public NamelessDispatch
{
public:
    static ComPtr<IOleClientSite> create();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override;
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD assign, DWORD which, IMoniker **moniker) override;
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer **container) override;
    HRESULT STDMETHODCALLTYPE ShowObject() override;
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL show) override;
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override;

    // IDispatch: the ambient properties.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override;

private:
    ClientSite() = default;
    ~ClientSite() = default;

    ULONG m_references = 1;
};

} // namespace phone::com
