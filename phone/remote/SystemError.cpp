#include "phone/remote/SystemError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <system_error>
#endif

namespace phone::remote {

std::string withSubject(std::string_view text, std::string_view subject)
{
    const auto isDigit = [](char c) {
        return c >= '0' && c <= '9';
    };
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '%' || !(next == '%' || isDigit(next))) {
            filled += text[i];
            continue;
        }
        if (next == '%') {
            filled += '%';
            ++i;
            continue;
        }
        std::size_t end = i + 2;
        if (end < text.size() && isDigit(text[end]))
            ++end;
        const bool first = text.substr(i + 1, end - i - 1) == "1";
        // An insert may carry a printf format: %1!s!.
        if (end < text.size() && text[end] == '!') {
            const std::size_t close = text.find('!', end + 1);
            if (close != std::string_view::npos)
                end = close + 1;
        }
        filled += first && !subject.empty() ? "„" + std::string(subject) + "“" : "…";
        i = end - 1;
    }
    return filled;
}

#ifdef _WIN32

std::string systemReason(unsigned long code, std::string_view subject)
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
    return withSubject(text, subject) + " (" + std::to_string(code) + ")";
}

std::string lastSystemReason(std::string_view subject)
{
    return systemReason(GetLastError(), subject);
}

#else

std::string systemReason(unsigned long code, std::string_view)
{
    const int value = static_cast<int>(code);
    return std::system_category().message(value) + " (" + std::to_string(value) + ")";
}

std::string lastSystemReason(std::string_view subject)
{
    return systemReason(static_cast<unsigned long>(errno), subject);
}

#endif

} // namespace phone::remote
