#pragma once

#include "phone/com/ComPtr.h"

#include <windows.h>

#include <oaidl.h>

namespace phone::com {

// A record a type description lends (its attributes, a function's or a variable's
// description), given back on every path.
template <typename Record, void (STDMETHODCALLTYPE ITypeInfo::*Release)(Record *)>
class Lent
{
public:
    Lent(ITypeInfo *info, Record *record)
        : m_info(info)
        , m_record(record)
    {}
    ~Lent() { (m_info->*Release)(m_record); }
    Lent(const Lent &) = delete;
    Lent &operator=(const Lent &) = delete;

    const Record *operator->() const { return m_record; }

private:
    ITypeInfo *m_info;
    Record *m_record;
};

using LentAttributes = Lent<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using LentFunction = Lent<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using LentVariable = Lent<VARDESC, &ITypeInfo::ReleaseVarDesc>;

// Each throws phone::Error when the type description refuses.
LentAttributes attributesOf(ITypeInfo *info);
LentFunction functionOf(ITypeInfo *info, UINT index);
LentVariable variableOf(ITypeInfo *info, UINT index);

// The control's class description: through IProvideClassInfo, or else the coclass in the type
// library its own IDispatch comes from. Throws phone::Error when it has none.
ComPtr<ITypeInfo> classTypeInfo(IDispatch *control, const CLSID &classId);

// The coclass's default source interface, or the source with the given identifier. Throws
// phone::Error when it has none.
ComPtr<ITypeInfo> sourceTypeInfo(ITypeInfo *coclass, const IID *wanted);

// The interface as late binding sees it: a dual interface's dispatch view, else itself.
ComPtr<ITypeInfo> dispatchView(ComPtr<ITypeInfo> info);

// The default source interface the control names through IProvideClassInfo2, else nullptr.
const IID *defaultSource(IDispatch *control, IID &storage);

} // namespace phone::com
