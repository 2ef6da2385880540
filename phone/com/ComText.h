#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>
#include <string_view>
#include <vector>

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

// A wmain's command line as UTF-8, in the argc and argv form the bench's command-line
// conventions read.
class Utf8Arguments
{
public:
    Utf8Arguments(int argc, wchar_t **argv);
    int argc() const { return static_cast<int>(m_texts.size()); }
    char **argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_texts;
    std::vector<char *> m_pointers;
};

} // namespace phone::com
