#include "phone/com/EventInterface.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/com/ComError.h"
#include "phone/com/ComPtr.h"
#include "phone/com/ComText.h"
#include "phone/com/TypeInfo.h"

#include <ocidl.h>

#include <algorithm>

namespace phone::com {

namespace {

bool handled(std::string_view name)
{
    return std::find(handledEvents.begin(), handledEvents.end(), name) != handledEvents.end();
}

} // namespace

EventInterface findEventInterface(IDispatch *control, const CLSID &classId)
{
    const ComPtr<ITypeInfo> coclass = classTypeInfo(control, classId);

    EventInterface result;
    IID storage{};
    const ComPtr<ITypeInfo> source =
        dispatchView(sourceTypeInfo(coclass.get(), defaultSource(control, storage)));
    result.iid = attributesOf(source.get())->guid;

    const WORD functionCount = attributesOf(source.get())->cFuncs;
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
