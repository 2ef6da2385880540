#pragma once

#include <string>
#include <string_view>

namespace phone::remote {

// The system's text for an error code (errno, or GetLastError() on Windows), as UTF-8 with
// the code. Windows writes some texts around a placeholder ("%1 ist keine zulässige
// Win32-Anwendung."): `subject`, the file or thing the error is about, stands in its place.
std::string systemReason(unsigned long code, std::string_view subject = {});

// The text for the calling thread's last error (errno, or GetLastError()).
std::string lastSystemReason(std::string_view subject = {});

// `text` with its placeholders %1 to %99 filled: %1 with `subject` in quotes, the others (and
// %1 without a subject) with "…", so that no user reads a bare "%1". "%%" is a percent sign.
std::string withSubject(std::string_view text, std::string_view subject);

} // namespace phone::remote
