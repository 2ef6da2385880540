#include "phone/com/TypeInfo.h"

#include "phone/Error.h"
#include "phone/com/ComError.h"

#include <ocidl.h>

namespace phone::com {

LentAttributes attributesOf(ITypeInfo *info)
{
    TYPEATTR *attributes = nullptr;
    check(info->GetTypeAttr(&attributes));
    return {info, attributes};
}

LentFunction functionOf(ITypeInfo *info, UINT index)
{
    FUNCDESC *function = nullptr;
    check(info->GetFuncDesc(index, &function));
    return {info, function};
}

LentVariable variableOf(ITypeInfo *info, UINT index)
{
    VARDESC *variable = nullptr;
    check(info->GetVarDesc(index, &variable));
    return {info, variable};
}

ComPtr<ITypeInfo> classTypeInfo(IDispatch *control, const CLSID &classId)
{
    ComPtr<ITypeInfo> result;
    if (auto provider = ComPtr<IDispatch>::retain(control).query<IProvideClassInfo>()) {
        if (SUCCEEDED(provider->GetClassInfo(result.put())) && result)
            return result;
    }
    // The type library the control's own interface is described in holds its coclass too.
    ComPtr<ITypeInfo> interfaceInfo;
    ComPtr<ITypeLib> library;
    UINT index = 0;
    if (SUCCEEDED(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, interfaceInfo.put()))
        && interfaceInfo && SUCCEEDED(interfaceInfo->GetContainingTypeLib(library.put(), &index))
        && library && SUCCEEDED(library->GetTypeInfoOfGuid(classId, result.put())) && result)
        return result;
    throw Error(ErrorKind::Component, "Das Steuerelement beschreibt seine Klasse nicht "
                                      "(keine Typinformation).");
}

ComPtr<ITypeInfo> sourceTypeInfo(ITypeInfo *coclass, const IID *wanted)
{
    const LentAttributes attributes = attributesOf(coclass);
    for (UINT i = 0; i < attributes->cImplTypes; ++i) {
        INT flags = 0;
        if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FSOURCE))
            continue;
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> source;
        if (FAILED(coclass->GetRefTypeOfImplType(i, &reference))
            || FAILED(coclass->GetRefTypeInfo(reference, source.put())) || !source)
            continue;
        const bool isDefault = flags & IMPLTYPEFLAG_FDEFAULT;
        if (wanted ? attributesOf(source.get())->guid == *wanted : isDefault)
            return source;
    }
    throw Error(ErrorKind::Component, "Das Steuerelement hat keine Ereignisschnittstelle.");
}

ComPtr<ITypeInfo> dispatchView(ComPtr<ITypeInfo> info)
{
    const LentAttributes attributes = attributesOf(info.get());
    if (attributes->typekind != TKIND_INTERFACE || !(attributes->wTypeFlags & TYPEFLAG_FDUAL))
        return info;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> view;
    check(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference));
    check(info->GetRefTypeInfo(reference, view.put()));
    return view;
}

const IID *defaultSource(IDispatch *control, IID &storage)
{
    if (auto provider = ComPtr<IDispatch>::retain(control).query<IProvideClassInfo2>()) {
        if (SUCCEEDED(provider->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &storage)))
            return &storage;
    }
    return nullptr;
}

} // namespace phone::com
