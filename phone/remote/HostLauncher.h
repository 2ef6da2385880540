#pragma once

#include "phone/remote/HostProcess.h"

#include <string>

namespace phone::remote {

// The bitness a Windows program is built for (32 for x86, 64 for x86-64 and ARM64), read
// from its PE header. Throws phone::Error (ErrorKind::Component, German, naming the file)
// when it is missing, unreadable or no Windows program.
int windowsProgramBits(const std::string &path);

// How to start the control host `hostPath` serving the bench: the program itself on Windows;
// elsewhere under Wine, wine64 for a 64-bit host and wine for a 32-bit one. Checks the
// program as windowsProgramBits() does.
HostCommand hostCommand(const std::string &hostPath);

} // namespace phone::remote
