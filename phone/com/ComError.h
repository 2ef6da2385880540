#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

namespace phone::com {

// The system's message text for a failing HRESULT, with the code in hexadecimal:
// "Class not registered (0x80040154)". Codes the system has no text for read
// "Fehler 0x80040154".
std::string systemMessage(HRESULT result);

// The description a control gave with DISP_E_EXCEPTION, after its deferred fill-in. Frees
// the EXCEPINFO's strings. Without a description, the system's text for its scode.
std::string exceptionMessage(EXCEPINFO &info);

// Throws phone::Error (ErrorKind::Component) with the system's message for a failure.
void check(HRESULT result);

} // namespace phone::com
