#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace phone {

// The automation Empty value: a property that was never set.
struct Empty
{
    bool operator==(const Empty &) const = default;
};

// The automation Null value: deliberately "no data".
struct Null
{
    bool operator==(const Null &) const = default;
};

// One automation value as it crosses the control boundary. Text is UTF-16, like the
// platform's own strings, so nothing is lost on the way in or out.
using Value = std::variant<Empty, Null, bool, std::int16_t, std::int32_t, double, std::u16string>;

// Conversions used wherever the window takes a value from the control. Each throws
// phone::Error (overflow, type or null) when the value cannot be taken that way.
std::int32_t toInt32(const Value &value);
bool toBool(const Value &value);
std::u16string toText(const Value &value);

// A double as the runtime gives it as text: 15 significant digits, an exponent from 1E+15 up
// and below 1E-04 ("1E+21", "1.5E-07"), "0" for both zeros, "NAN", "INF" and "-INF".
std::string runtimeDoubleText(double value);

// The shortest decimal text that reads back to the same double ("2.5", "1e+10", "nan").
std::string shortestDouble(double value);

} // namespace phone
