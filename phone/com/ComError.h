#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

namespace phone::com {

// The system's message text for a failing HRESULT, with the code in hexadecimal:
// "Class not registered (0x80040154)". Codes the system has no text for read
// "Fehler 0x80040154".
std::string systemMessage(HRESULT result);

// Throws the error a control raised with DISP_E_EXCEPTION, after its deferred fill-in: its
// description (without one, the system's text for its scode) and its code (the scode, or
// else the control's own wCode). Frees the EXCEPINFO's strings.
[[noreturn]] void throwException(EXCEPINFO &info);

// Throws phone::Error (ErrorKind::Component) with the system's message and the code for a
// failure.
void check(HRESULT result);

} // namespace phone::com
