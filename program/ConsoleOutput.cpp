#include "program/ConsoleOutput.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace program {

#ifdef _WIN32

namespace {

// The handle the program inherited, or else the console of the process that started it.
HANDLE streamHandle(Stream stream)
{
    const DWORD which = stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    HANDLE handle = GetStdHandle(which);
    if (handle && handle != INVALID_HANDLE_VALUE)
        return handle;
    // Attached once: the second call fails with ERROR_ACCESS_DENIED while attached.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return nullptr;
    handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    SetStdHandle(which, handle);
    return handle;
}

} // namespace

bool writeToConsole(const QString &text, Stream stream)
{
    HANDLE handle = streamHandle(stream);
    if (!handle)
        return false;
    DWORD mode = 0;
    DWORD written = 0;
    // A console shows UTF-16 whatever its code page.
    if (GetConsoleMode(handle, &mode))
        return WriteConsoleW(handle, text.utf16(), DWORD(text.size()), &written, nullptr);
    const QByteArray bytes = text.toUtf8();
    return WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
}

#else

bool writeToConsole(const QString &text, Stream stream)
{
    FILE *file = stream == Stream::Output ? stdout : stderr;
    const QByteArray bytes = text.toUtf8();
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
    return std::fflush(file) == 0 && written;
}

#endif

} // namespace program
