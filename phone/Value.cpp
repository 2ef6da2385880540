#include "phone/Value.h"

#include "phone/Ascii.h"
#include "phone/Error.h"
#include "phone/NumberText.h"

#include <charconv>
#include <cmath>

namespace phone {

namespace {

// Rounds to nearest, a half to the even neighbour, without depending on the floating-point
// environment's rounding mode. The range check is on the rounded value, so 2147483647.5
// (rounding to 2147483648) overflows while -2147483648.5 (rounding to -2147483648) does not.
std::int32_t roundToInt32(double value)
{
    if (!std::isfinite(value))
        throw Error(ErrorKind::Overflow);
    double rounded = std::floor(value);
    const double fraction = value - rounded; // exact for every double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        throw Error(ErrorKind::Overflow);
    return static_cast<std::int32_t>(rounded);
}

bool equalsIgnoringCase(std::u16string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != static_cast<unsigned char>(word[i]))
            return false;
    }
    return true;
}

} // namespace

std::int32_t toInt32(const Value &value)
{
    if (auto v = std::get_if<std::int32_t>(&value))
        return *v;
    if (auto v = std::get_if<std::int16_t>(&value))
        return *v;
    if (auto v = std::get_if<bool>(&value))
        return *v ? -1 : 0;
    if (auto v = std::get_if<double>(&value))
        return roundToInt32(*v);
    if (auto v = std::get_if<std::u16string>(&value))
        return roundToInt32(readNumberText(*v));
    if (std::holds_alternative<Null>(value))
        throw Error(ErrorKind::Null);
    return 0; // Empty
}

// A number is true when it is not zero, so NaN counts as true.
bool toBool(const Value &value)
{
    if (auto v = std::get_if<bool>(&value))
        return *v;
    if (auto v = std::get_if<std::int32_t>(&value))
        return *v != 0;
    if (auto v = std::get_if<std::int16_t>(&value))
        return *v != 0;
    if (auto v = std::get_if<double>(&value))
        return *v != 0.0;
    if (auto v = std::get_if<std::u16string>(&value)) {
        const std::u16string_view word = trimBlanks(*v);
        if (equalsIgnoringCase(word, "true"))
            return true;
        if (equalsIgnoringCase(word, "false"))
            return false;
        return readNumberText(*v) != 0.0;
    }
    if (std::holds_alternative<Null>(value))
        throw Error(ErrorKind::Null);
    return false; // Empty
}

std::u16string toText(const Value &value)
{
    if (auto v = std::get_if<std::u16string>(&value))
        return *v;
    if (auto v = std::get_if<bool>(&value))
        return *v ? u"True" : u"False";
    if (auto v = std::get_if<std::int16_t>(&value))
        return widen(std::to_string(*v));
    if (auto v = std::get_if<std::int32_t>(&value))
        return widen(std::to_string(*v));
    if (auto v = std::get_if<double>(&value))
        return widen(shortestDouble(*v));
    return {}; // Empty and Null: an absent text is no error
}

std::string shortestDouble(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[32]; // the longest shortest form, "-2.2250738585072014e-308", needs 24
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace phone
