#include "phone/com/ContractReader.h"

#include "phone/Error.h"
#include "phone/com/ComError.h"
#include "phone/com/ComText.h"
#include "phone/com/TypeInfo.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace phone::com {

namespace {

// The methods every dispatch interface inherits; late binding never names them.
constexpr std::array<std::string_view, 7> inherited{
    "QueryInterface", "AddRef",        "Release", "GetTypeInfoCount",
    "GetTypeInfo",    "GetIDsOfNames", "Invoke"};

std::string nameOf(ITypeInfo *info, MEMBERID id)
{
    BSTR name = nullptr;
    if (FAILED(info->GetDocumentation(id, &name, nullptr, nullptr, nullptr)))
        return {};
    std::string utf8 = toUtf8(fromBstr(name));
    SysFreeString(name);
    return utf8;
}

contract::Parameter parameterOf(const TYPEDESC &type)
{
    if (type.vt == VT_PTR && type.lptdesc)
        return {static_cast<std::uint16_t>(type.lptdesc->vt & VT_TYPEMASK), true};
    return {static_cast<std::uint16_t>(type.vt & VT_TYPEMASK), (type.vt & VT_BYREF) != 0};
}

contract::Access accessOf(INVOKEKIND kind)
{
    if (kind == INVOKE_PROPERTYGET)
        return contract::Access::Get;
    if (kind == INVOKE_PROPERTYPUT || kind == INVOKE_PROPERTYPUTREF)
        return contract::Access::Put;
    return contract::Access::Method;
}

// The functions a dispatch interface declares, and its properties written as variables (a
// dispinterface's "properties:"), which read and, unless read-only, write.
std::vector<contract::Function> functionsOf(ITypeInfo *info)
{
    std::vector<contract::Function> functions;
    const LentAttributes attributes = attributesOf(info);
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        const LentFunction function = functionOf(info, i);
        if (function->wFuncFlags & FUNCFLAG_FRESTRICTED)
            continue;
        contract::Function described{
            function->memid, nameOf(info, function->memid), accessOf(function->invkind), {}};
        if (std::find(inherited.begin(), inherited.end(), described.name) != inherited.end())
            continue;
        for (SHORT p = 0; p < function->cParams; ++p)
            described.parameters.push_back(parameterOf(function->lprgelemdescParam[p].tdesc));
        functions.push_back(std::move(described));
    }
    for (UINT i = 0; i < attributes->cVars; ++i) {
        const LentVariable variable = variableOf(info, i);
        if (variable->varkind != VAR_DISPATCH)
            continue;
        const std::string name = nameOf(info, variable->memid);
        functions.push_back({variable->memid, name, contract::Access::Get, {}});
        if (!(variable->wVarFlags & VARFLAG_FREADONLY))
            functions.push_back({variable->memid,
                                 name,
                                 contract::Access::Put,
                                 {parameterOf(variable->elemdescVar.tdesc)}});
    }
    return functions;
}

} // namespace

contract::Description describeControl(IDispatch *control, const CLSID &classId)
{
    contract::Description description;
    ComPtr<ITypeInfo> interfaceInfo;
    if (FAILED(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, interfaceInfo.put())) || !interfaceInfo)
        throw Error(ErrorKind::Component, "Das Steuerelement beschreibt seine Schnittstelle nicht "
                                          "(keine Typinformation).");
    description.members = functionsOf(dispatchView(std::move(interfaceInfo)).get());

    const ComPtr<ITypeInfo> coclass = classTypeInfo(control, classId);
    IID storage{};
    description.events = functionsOf(
        dispatchView(sourceTypeInfo(coclass.get(), defaultSource(control, storage))).get());
    return description;
}

} // namespace phone::com
