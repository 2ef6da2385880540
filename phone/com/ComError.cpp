#include "phone/com/ComError.h"

#include "phone/Error.h"
#include "phone/com/ComText.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace phone::com {

namespace {

std::string hexCode(HRESULT result)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(result));
    return buffer;
}

} // namespace

std::string systemMessage(HRESULT result)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::u16string text;
    if (length != 0 && buffer)
        text.assign(reinterpret_cast<const char16_t *>(buffer), length);
    LocalFree(buffer);

    // Message texts end in a line break, sometimes after blanks.
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    if (text.empty())
        return "Fehler " + hexCode(result);
    return toUtf8(text) + " (" + hexCode(result) + ")";
}

void throwException(EXCEPINFO &info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    const std::u16string description = fromBstr(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info.bstrSource = info.bstrDescription = info.bstrHelpFile = nullptr;

    const HRESULT scode = FAILED(info.scode) ? info.scode : DISP_E_EXCEPTION;
    // The runtime's number for the error: the control's own wCode where it gives one.
    const std::int32_t code = info.wCode != 0 ? info.wCode : scode;
    if (!description.empty())
        throw Error(ErrorKind::Component, toUtf8(description), code);
    if (info.wCode != 0)
        throw Error(ErrorKind::Component,
                    "Fehler " + std::to_string(info.wCode) + " des Steuerelements", code);
    throw Error(ErrorKind::Component, systemMessage(scode), code);
}

void check(HRESULT result)
{
    if (FAILED(result))
        throw Error(ErrorKind::Component, systemMessage(result), result);
}

} // namespace phone::com
