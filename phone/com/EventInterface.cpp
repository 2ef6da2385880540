#include "phone/com/EventInterface.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/com/ComError.h"
#include "phone/com/ComPtr.h"
#include "phone/com/ComText.h"

#include <ocidl.h>

#include <algorithm>

namespace phone::com {

namespace {

// Borrows a type attribute record and gives it back on every path.
class TypeAttributes
{
public:
    explicit TypeAttributes(ITypeInfo *info)
        : m_info(info)
    {
        check(info->GetTypeAttr(&m_attributes));
    }
    ~TypeAttributes() { m_info->ReleaseTypeAttr(m_attributes); }
    TypeAttributes(const TypeAttributes &) = delete;
    TypeAttributes &operator=(const TypeAttributes &) = delete;

    const TYPEATTR *operator->() const { return m_attributes; }

private:
    ITypeInfo *m_info;
    TYPEATTR *m_attributes = nullptr;
};

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

// The coclass's default source interface, or the source with the given identifier.
ComPtr<ITypeInfo> sourceTypeInfo(ITypeInfo *coclass, const IID *wanted)
{
    const TypeAttributes attributes(coclass);
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
        if (wanted ? TypeAttributes(source.get())->guid == *wanted : isDefault)
            return source;
    }
    throw Error(ErrorKind::Component, "Das Steuerelement hat keine Ereignisschnittstelle.");
}

// A dual source interface lists its events on its dispatch view.
ComPtr<ITypeInfo> dispatchView(ComPtr<ITypeInfo> source)
{
    const TypeAttributes attributes(source.get());
    if (attributes->typekind != TKIND_INTERFACE || !(attributes->wTypeFlags & TYPEFLAG_FDUAL))
        return source;
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> view;
    check(source->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference));
    check(source->GetRefTypeInfo(reference, view.put()));
    return view;
}

bool handled(std::string_view name)
{
    return std::find(handledEvents.begin(), handledEvents.end(), name) != handledEvents.end();
}

} // namespace

EventInterface findEventInterface(IDispatch *control, const CLSID &classId)
{
    const ComPtr<ITypeInfo> coclass = classTypeInfo(control, classId);

    EventInterface result;
    IID defaultSource{};
    const IID *wanted = nullptr;
    if (auto provider = ComPtr<IDispatch>::retain(control).query<IProvideClassInfo2>()) {
        if (SUCCEEDED(provider->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &defaultSource)))
            wanted = &defaultSource;
    }
    const ComPtr<ITypeInfo> source = dispatchView(sourceTypeInfo(coclass.get(), wanted));
    result.iid = TypeAttributes(source.get())->guid;

    const WORD functionCount = TypeAttributes(source.get())->cFuncs;
    for (UINT i = 0; i < functionCount; ++i) {
        FUNCDESC *function = nullptr;
        if (FAILED(source->GetFuncDesc(i, &function)))
            continue;
        const MEMBERID id = function->memid;
        source->ReleaseFuncDesc(function);
        BSTR name = nullptr;
        if (FAILED(source->GetDocumentation(id, &name, nullptr, nullptr, nullptr)))
            continue;
        std::string utf8 = toUtf8(fromBstr(name));
        SysFreeString(name);
        if (handled(utf8))
            result.handledEvents.emplace(id, std::move(utf8));
    }
    return result;
}

} // namespace phone::com
