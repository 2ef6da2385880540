#pragma once

#include "phone/com/ComPtr.h"

#include <windows.h>

#include <oaidl.h>

namespace phone::com {

// Borrows a type attribute record and gives it back on every path.
class TypeAttributes
{
public:
    explicit TypeAttributes(ITypeInfo *info);
    ~TypeAttributes();
    TypeAttributes(const TypeAttributes &) = delete;
    TypeAttributes &operator=(const TypeAttributes &) = delete;

    const TYPEATTR *operator->() const { return m_attributes; }

private:
    ITypeInfo *m_info;
    TYPEATTR *m_attributes = nullptr;
};

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
