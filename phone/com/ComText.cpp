#include "phone/com/ComText.h"

#include "phone/Error.h"

#include <windows.h>

namespace phone::com {

std::u16string fromBstr(BSTR text)
{
    if (!text)
        return {};
    return std::u16string(reinterpret_cast<const char16_t *>(text), SysStringLen(text));
}

BSTR toBstr(std::u16string_view text)
{
    BSTR result = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.data()),
                                    static_cast<UINT>(text.size()));
    if (!result)
        throw Error(ErrorKind::Component, "Nicht genügend Speicher");
    return result;
}

std::string toUtf8(std::u16string_view text)
{
    if (text.empty())
        return {};
    const auto *source = reinterpret_cast<const wchar_t *>(text.data());
    const int sourceLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, source, sourceLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, source, sourceLength, result.data(), length, nullptr, nullptr);
    return result;
}

std::u16string fromUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    const int sourceLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), sourceLength, nullptr, 0);
    std::u16string result(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), sourceLength,
                        reinterpret_cast<wchar_t *>(result.data()), length);
    return result;
}

Utf8Arguments::Utf8Arguments(int argc, wchar_t **argv)
{
    for (int i = 0; i < argc; ++i)
        m_texts.push_back(toUtf8(reinterpret_cast<const char16_t *>(argv[i])));
    for (std::string &text : m_texts)
        m_pointers.push_back(text.data());
    m_pointers.push_back(nullptr);
}

} // namespace phone::com
