#pragma once

#include <windows.h>

#include <oaidl.h>

#include <map>
#include <string>

namespace phone::com {

// The control's default source interface: its identifier, and the names of the events the
// window handles, keyed by their dispatch identifiers as this control numbers them.
struct EventInterface
{
    IID iid{};
    std::map<DISPID, std::string> handledEvents;
};

// Reads the control's type information: its class description through IProvideClassInfo
// (IProvideClassInfo2 names the default source directly), or else the coclass in the type
// library its own IDispatch comes from. Throws phone::Error when the control describes no
// default source interface.
EventInterface findEventInterface(IDispatch *control, const CLSID &classId);

} // namespace phone::com
