#include "phone/remote/SystemError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <system_error>
#endif

namespace phone::remote {

#ifdef _WIN32

std::string systemReason(unsigned long code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr,
                                             0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), size,
                            nullptr, nullptr);
    }
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Fehler";
    return text + " (" + std::to_string(code) + ")";
}

std::string lastSystemReason()
{
    return systemReason(GetLastError());
}

#else

std::string systemReason(unsigned long code)
{
    const int value = static_cast<int>(code);
    return std::system_category().message(value) + " (" + std::to_string(value) + ")";
}

std::string lastSystemReason()
{
    return systemReason(static_cast<unsigned long>(errno));
}

#endif

} // namespace phone::remote
