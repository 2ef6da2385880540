#include "FontText.h"

#include <cwchar>

namespace tervani_double {

std::wstring fontText(IFont *font)
{
    if (!font)
        return L"(none)";
    BSTR name = nullptr;
    CY size{};
    if (FAILED(font->get_Name(&name)) || FAILED(font->get_Size(&size))) {
        SysFreeString(name);
        return L"(unreadable)";
    }
    wchar_t points[32];
    std::swprintf(points, 32, L"%g", static_cast<double>(size.int64) / 10000.0);
    std::wstring result = std::wstring(name, SysStringLen(name)) + L" " + points;
    SysFreeString(name);
    return result;
}

} // namespace tervani_double
