#include "TypeLibrary.h"

#include "DoubleIds.h"
#include "phone/Members.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace tervani_double {

namespace {

void check(HRESULT result, const char *step)
{
    if (FAILED(result)) {
        char text[128];
        std::snprintf(text, sizeof text, "%s failed: 0x%08lX", step,
                      static_cast<unsigned long>(result));
        throw std::runtime_error(text);
    }
}

struct ParamSpec
{
    const wchar_t *name;
    VARTYPE type;
    bool byRef;
};

struct FunctionSpec
{
    DISPID id;
    const wchar_t *name;
    INVOKEKIND kind;
    VARTYPE result;
    std::vector<ParamSpec> params;
};

std::vector<FunctionSpec> interfaceFunctions(DISPID dialId)
{
    namespace id = phone::dispid;
    const ParamSpec number{L"Number", VT_BSTR, false};
    const ParamSpec callIdRef{L"CallID", VT_I4, true};
    return {
        {id::PopUp, L"PopUp", INVOKE_PROPERTYGET, VT_BOOL, {}},
        {id::PopUp, L"PopUp", INVOKE_PROPERTYPUT, VT_VOID, {{L"Value", VT_BOOL, false}}},
        {id::ConnectionCount, L"ConnectionCount", INVOKE_PROPERTYGET, VT_I4, {}},
        {id::IncomingCallID, L"IncomingCallID", INVOKE_PROPERTYGET, VT_I4, {}},
        {id::LatestText, L"LatestText", INVOKE_PROPERTYGET, VT_VARIANT, {}},
        {dialId, L"Dial", INVOKE_FUNC, VT_VOID, {number}},
        {id::SendShortMessage,
         L"SendShortMessage",
         INVOKE_FUNC,
         VT_VOID,
         {number, {L"Message", VT_BSTR, false}}},
        {id::SendDTMF, L"SendDTMF", INVOKE_FUNC, VT_VOID, {callIdRef, {L"Digits", VT_BSTR, false}}},
        {id::AcceptCall, L"AcceptCall", INVOKE_FUNC, VT_VOID, {callIdRef}},
        {id::HangUp, L"HangUp", INVOKE_FUNC, VT_VOID, {{L"CallID", VT_I4, false}}},
        {id::ConvertNumber, L"ConvertNumber", INVOKE_FUNC, VT_BSTR, {number}},
        {dispid::LastCall, L"LastCall", INVOKE_PROPERTYGET, VT_BSTR, {}},
        {dispid::Fail, L"Fail", INVOKE_FUNC, VT_VOID, {{L"Mode", VT_I4, false}}},
        {dispid::Raise,
         L"Raise",
         INVOKE_FUNC,
         VT_VOID,
         {{L"Event", VT_VARIANT, false},
          {L"CallingNumber", VT_BSTR, false},
          {L"CalledMSN", VT_BSTR, false},
          {L"CallID", VT_I4, false}}},
        {dispid::SiteUserMode, L"SiteUserMode", INVOKE_PROPERTYGET, VT_VARIANT, {}},
        {dispid::InitialisedWithSite, L"InitialisedWithSite", INVOKE_PROPERTYGET, VT_BOOL, {}},
        {dispid::KeepAlive, L"KeepAlive", INVOKE_FUNC, VT_VOID, {}},
        {dispid::Ambient, L"Ambient", INVOKE_FUNC, VT_VARIANT, {{L"Id", VT_I4, false}}},
        {dispid::Window, L"Window", INVOKE_PROPERTYGET, VT_BSTR, {}},
        {dispid::QuickContainer, L"QuickContainer", INVOKE_PROPERTYGET, VT_BSTR, {}},
    };
}

std::vector<FunctionSpec> eventFunctions()
{
    std::vector<FunctionSpec> result;
    for (const EventEntry &event : events) {
        if (event.id == statusEvent) {
            result.push_back(
                {event.id, event.name, INVOKE_FUNC, VT_VOID, {{L"Text", VT_BSTR, true}}});
            continue;
        }
        const VARTYPE text = event.variantArguments ? VT_VARIANT : VT_BSTR;
        const VARTYPE number = event.variantArguments ? VT_VARIANT : VT_I4;
        result.push_back({event.id,
                          event.name,
                          INVOKE_FUNC,
                          VT_VOID,
                          {{L"CallingNumber", text, true},
                           {L"CalledMSN", text, true},
                           {L"CallID", number, true}}});
    }
    return result;
}

void addFunctions(ICreateTypeInfo *info, const std::vector<FunctionSpec> &functions)
{
    UINT index = 0;
    for (const FunctionSpec &function : functions) {
        std::vector<TYPEDESC> pointed(function.params.size());
        std::vector<ELEMDESC> params(function.params.size());
        std::vector<LPOLESTR> names{const_cast<LPOLESTR>(function.name)};
        for (std::size_t i = 0; i < function.params.size(); ++i) {
            const ParamSpec &param = function.params[i];
            ELEMDESC &element = params[i];
            element = ELEMDESC{};
            if (param.byRef) {
                pointed[i].vt = param.type;
                element.tdesc.vt = VT_PTR;
                element.tdesc.lptdesc = &pointed[i];
                element.paramdesc.wParamFlags = PARAMFLAG_FIN | PARAMFLAG_FOUT;
            } else {
                element.tdesc.vt = param.type;
                element.paramdesc.wParamFlags = PARAMFLAG_FIN;
            }
            names.push_back(const_cast<LPOLESTR>(param.name));
        }
        FUNCDESC description{};
        description.memid = function.id;
        description.funckind = FUNC_DISPATCH;
        description.invkind = function.kind;
        description.callconv = CC_STDCALL;
        description.cParams = static_cast<SHORT>(params.size());
        description.lprgelemdescParam = params.empty() ? nullptr : params.data();
        description.elemdescFunc.tdesc.vt = function.result;
        check(info->AddFuncDesc(index, &description), "AddFuncDesc");
        // A property put's value is not named.
        const UINT nameCount = static_cast<UINT>(
            function.kind == INVOKE_PROPERTYPUT ? names.size() - 1 : names.size());
        check(info->SetFuncAndParamNames(index, names.data(), nameCount), "SetFuncAndParamNames");
        ++index;
    }
}

ComPtr<ITypeInfo> dispatchInterface(ICreateTypeLib2 *library, ITypeInfo *dispatchBase,
                                    const wchar_t *name, const GUID &id,
                                    const std::vector<FunctionSpec> &functions)
{
    ComPtr<ICreateTypeInfo> created;
    check(library->CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_DISPATCH, created.put()),
          "CreateTypeInfo");
    check(created->SetGuid(id), "SetGuid");
    HREFTYPE base = 0;
    check(created->AddRefTypeInfo(dispatchBase, &base), "AddRefTypeInfo");
    check(created->AddImplType(0, base), "AddImplType");
    addFunctions(created.get(), functions);
    check(created->LayOut(), "LayOut");
    return created.query<ITypeInfo>();
}

ComPtr<ITypeInfo> coclass(ICreateTypeLib2 *library, const wchar_t *name, const GUID &id,
                          ITypeInfo *interfaceInfo, ITypeInfo *eventsInfo)
{
    ComPtr<ICreateTypeInfo> created;
    check(library->CreateTypeInfo(const_cast<LPOLESTR>(name), TKIND_COCLASS, created.put()),
          "CreateTypeInfo");
    check(created->SetGuid(id), "SetGuid");
    check(created->SetTypeFlags(TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL), "SetTypeFlags");
    HREFTYPE reference = 0;
    check(created->AddRefTypeInfo(interfaceInfo, &reference), "AddRefTypeInfo");
    check(created->AddImplType(0, reference), "AddImplType");
    check(created->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), "SetImplTypeFlags");
    check(created->AddRefTypeInfo(eventsInfo, &reference), "AddRefTypeInfo");
    check(created->AddImplType(1, reference), "AddImplType");
    check(created->SetImplTypeFlags(1, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE),
          "SetImplTypeFlags");
    check(created->LayOut(), "LayOut");
    return created.query<ITypeInfo>();
}

} // namespace

TypeLibrary buildTypeLibrary(DISPID dialId)
{
    ComPtr<ITypeLib> standard;
    check(LoadTypeLib(L"stdole2.tlb", standard.put()), "LoadTypeLib(stdole2)");
    ComPtr<ITypeInfo> dispatchBase;
    check(standard->GetTypeInfoOfGuid(IID_IDispatch, dispatchBase.put()), "GetTypeInfoOfGuid");

    ComPtr<ICreateTypeLib2> created;
    check(CreateTypeLib2(sizeof(void *) == 8 ? SYS_WIN64 : SYS_WIN32, L"TervaniDouble.tlb",
                         created.put()),
          "CreateTypeLib2");
    check(created->SetGuid(libraryId), "SetGuid");
    check(created->SetName(const_cast<LPOLESTR>(L"TervaniDouble")), "SetName");
    check(created->SetVersion(1, 0), "SetVersion");

    TypeLibrary result;
    result.interfaceInfo = dispatchInterface(created.get(), dispatchBase.get(), L"_axTervani",
                                             interfaceId, interfaceFunctions(dialId));
    result.eventsInfo = dispatchInterface(created.get(), dispatchBase.get(), L"__axTervani",
                                          eventsId, eventFunctions());
    result.controlClass = coclass(created.get(), L"axTervani", controlClassId,
                                  result.interfaceInfo.get(), result.eventsInfo.get());
    result.plainClass = coclass(created.get(), L"axTervaniPlain", plainClassId,
                                result.interfaceInfo.get(), result.eventsInfo.get());
    result.library = created.query<ITypeLib>();
    if (!result.library || !result.interfaceInfo || !result.eventsInfo || !result.controlClass
        || !result.plainClass)
        throw std::runtime_error("type information without ITypeInfo");
    return result;
}

} // namespace tervani_double
