#include "phone/Value.h"

#include "phone/Error.h"

#include <charconv>
#include <cmath>

namespace phone {

// Provisional: numeric text is not read yet.
std::int32_t toInt32(const Value &value)
{
    if (auto v = std::get_if<std::int32_t>(&value))
        return *v;
    if (auto v = std::get_if<std::int16_t>(&value))
        return *v;
    if (auto v = std::get_if<bool>(&value))
        return *v ? -1 : 0;
    if (std::holds_alternative<Empty>(value))
        return 0;
    if (std::holds_alternative<Null>(value))
        throw Error(ErrorKind::Null);
    if (auto v = std::get_if<double>(&value)) {
        if (!std::isfinite(*v) || *v < -2147483648.5 || *v >= 2147483647.5)
            throw Error(ErrorKind::Overflow);
        return static_cast<std::int32_t>(std::nearbyint(*v));
    }
    throw Error(ErrorKind::Type);
}

bool toBool(const Value &value)
{
    if (auto v = std::get_if<bool>(&value))
        return *v;
    if (std::holds_alternative<Empty>(value))
        return false;
    if (std::holds_alternative<Null>(value))
        throw Error(ErrorKind::Null);
    return toInt32(value) != 0;
}

std::string shortestDouble(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::u16string toText(const Value &value)
{
    if (auto v = std::get_if<std::u16string>(&value))
        return *v;
    std::string ascii;
    if (auto v = std::get_if<bool>(&value))
        ascii = *v ? "True" : "False";
    else if (auto v = std::get_if<std::int16_t>(&value))
        ascii = std::to_string(*v);
    else if (auto v = std::get_if<std::int32_t>(&value))
        ascii = std::to_string(*v);
    else if (auto v = std::get_if<double>(&value))
        ascii = shortestDouble(*v);
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace phone
