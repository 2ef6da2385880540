#pragma once

// How questions and answers about conversions cross between the runtime's answer program
// (under Wine) and the test that asks it: a text as four hex digits a UTF-16 code unit ("-"
// for the empty text), a double as its 64 bits in 16 hex digits. Standard C++ only, for both
// sides.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace answers {

template <typename Unit>
std::string hexOfText(std::basic_string_view<Unit> text)
{
    if (text.empty())
        return "-";
    std::string hex;
    char unit[5];
    for (Unit c : text) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c) & 0xffffu);
        hex += unit;
    }
    return hex;
}

template <typename Unit>
std::basic_string<Unit> textOfHex(const std::string &hex)
{
    std::basic_string<Unit> text;
    if (hex == "-")
        return text;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4)
        text += static_cast<Unit>(std::stoul(hex.substr(i, 4), nullptr, 16));
    return text;
}

inline std::string bitsOf(double value)
{
    std::uint64_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    char text[17];
    std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(raw));
    return text;
}

inline double doubleOfBits(const std::string &bits)
{
    const std::uint64_t raw = std::stoull(bits, nullptr, 16);
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

} // namespace answers
