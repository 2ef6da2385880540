#pragma once

#include <string>
#include <string_view>

namespace phone {

// ASCII text (numbers, names) as UTF-16, one code unit a character.
inline std::u16string widen(std::string_view ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace phone
