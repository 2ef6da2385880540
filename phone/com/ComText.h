#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>

namespace phone::com {

// Windows wide strings are UTF-16, the same code units as std::u16string.
inline const wchar_t *wide(const std::u16string &text)
{
    return reinterpret_cast<const wchar_t *>(text.c_str());
}

// The whole BSTR, embedded NULs included; a null BSTR is the empty text.
std::u16string fromBstr(BSTR text);

// A new BSTR with the text's exact length. Throws phone::Error when out of memory.
BSTR toBstr(std::u16string_view text);

// UTF-8 for phone::Error descriptions. Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

} // namespace phone::com
