#pragma once

#include "phone/Contract.h"

#include <windows.h>

#include <oaidl.h>

namespace phone::com {

// What the control's type information declares: the members of the interface its IDispatch
// describes, and the events of its default source interface. Throws phone::Error when the
// control describes neither.
contract::Description describeControl(IDispatch *control, const CLSID &classId);

} // namespace phone::com
