#pragma once

#include "phone/com/ComPtr.h"

#include <oaidl.h>

#include <string_view>

namespace tervani_double {

using phone::com::ComPtr;

// One event of the double's source interface. The bench handles the first seven by name;
// OnStatus has other arguments and is one it does not handle.
struct EventEntry
{
    DISPID id;
    const wchar_t *name;
    // Call events pass VARIANT* instead of BSTR*/long* here, as some controls declare them.
    bool variantArguments;
};

inline constexpr EventEntry events[] = {
    {1, L"OnIdle", true},          {2, L"OnRing", false},      {3, L"OnOffering", false},
    {4, L"OnConnecting", false},   {5, L"OnConnected", false}, {6, L"OnDisconnecting", false},
    {7, L"OnDisConnected", false}, {8, L"OnStatus", false},
};
inline constexpr DISPID statusEvent = 8;

// The double's type information, built in memory with CreateTypeLib2 as a control's type
// library would describe it: the dispatch interface, the source interface and two coclasses.
struct TypeLibrary
{
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> interfaceInfo;
    ComPtr<ITypeInfo> eventsInfo;
    ComPtr<ITypeInfo> controlClass;
    ComPtr<ITypeInfo> plainClass;
};

// Throws HRESULT-carrying std::runtime_error when OLE Automation refuses a step. `dialId`: the
// identifier Dial is declared at, another than the contract's for a control that has drifted.
TypeLibrary buildTypeLibrary(DISPID dialId);

} // namespace tervani_double
