#pragma once

#include <windows.h>

#include <oaidl.h>

namespace phone::com {

// An IDispatch reached by dispatch identifier only: it offers no type information and knows
// no names. The client site's ambient properties and the event sink need nothing more.
class NamelessDispatch : public IDispatch
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override
    {
        return DISP_E_UNKNOWNNAME;
    }
};

} // namespace phone::com
