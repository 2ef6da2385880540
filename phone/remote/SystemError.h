#pragma once

#include <string>

namespace phone::remote {

// The system's text for an error code (errno, or GetLastError() on Windows), as UTF-8 with
// the code.
std::string systemReason(unsigned long code);

// The text for the calling thread's last error (errno, or GetLastError()).
std::string lastSystemReason();

} // namespace phone::remote
