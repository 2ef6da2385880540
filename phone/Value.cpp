#include "phone/Value.h"

#include "phone/Ascii.h"
#include "phone/Error.h"
#include "phone/NumberText.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

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
        return int32OfNumber(parseNumberText(*v));
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
        // The runtime reads the text up to its first NUL: the words in any case, the literal
        // forms exactly, anything else as a number.
        std::u16string_view word = *v;
        word = word.substr(0, word.find(u'\0'));
        if (equalsIgnoringCase(word, "true") || word == u"#TRUE#")
            return true;
        if (equalsIgnoringCase(word, "false") || word == u"#FALSE#")
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
        return widen(runtimeDoubleText(*v));
    return {}; // Empty and Null: an absent text is no error
}

std::string runtimeDoubleText(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? "-NAN(IND)" : "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0"; // never "-0"
    // Fifteen significant digits of the exact value, a half rounded away from zero (the
    // runtime prints 281474976710656.5 as 281474976710657, where C's printf rounds to even).
    // A double's exact decimal expansion has at most 767 significant digits.
    std::array<char, 800> buffer{};
    const auto printed = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                       std::fabs(value), std::chars_format::scientific, 766);
    const std::string_view exact(buffer.data(),
                                 static_cast<std::size_t>(printed.ptr - buffer.data()));
    std::string digits(1, exact[0]);
    digits.append(exact.substr(2, 14));
    int exponent = std::atoi(exact.data() + exact.find('e') + 1);
    if (exact[16] >= '5') {
        int i = 14;
        for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i)
            digits[static_cast<std::size_t>(i)] = '0';
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        text += digits[0];
        if (digits.size() > 1)
            text += '.' + digits.substr(1);
        char power[16];
        std::snprintf(power, sizeof power, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return text + power;
    }
    if (exponent < 0)
        return text + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole)
        return text + digits + std::string(whole - digits.size(), '0');
    return text + digits.substr(0, whole) + '.' + digits.substr(whole);
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
