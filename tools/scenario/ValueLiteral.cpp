#include "tools/scenario/ValueLiteral.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <limits>

namespace scenario {

namespace {

template <typename Integer>
std::optional<Integer> parseInteger(std::string_view digits)
{
    Integer value{};
    const char *end = digits.data() + digits.size();
    if (digits.empty() || digits.front() == '+')
        return std::nullopt;
    auto [ptr, error] = std::from_chars(digits.data(), end, value);
    if (error != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<double> parseDouble(std::string_view text)
{
    if (text == "nan")
        return std::numeric_limits<double>::quiet_NaN();
    if (text == "inf")
        return std::numeric_limits<double>::infinity();
    if (text == "-inf")
        return -std::numeric_limits<double>::infinity();
    double value = 0;
    const char *end = text.data() + text.size();
    if (text.empty() || text.front() == '+')
        return std::nullopt;
    auto [ptr, error] = std::from_chars(text.data(), end, value);
    // from_chars would also read "nan"/"inf" spellings; only the forms above are literals.
    if (error != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::u16string> parseText(std::string_view token)
{
    if (token.size() < 2 || token.front() != '"' || token.back() != '"')
        return std::nullopt;
    std::string text;
    for (std::size_t i = 1; i + 1 < token.size(); ++i) {
        const char c = token[i];
        if (c == '\\' && i + 2 < token.size() && (token[i + 1] == '"' || token[i + 1] == '\\')) {
            text += token[++i];
        } else if (c == '"') {
            return std::nullopt; // an unescaped quote inside the text
        } else {
            text += c;
        }
    }
    return fromUtf8(text);
}

} // namespace

std::u16string fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU16String();
}

std::optional<phone::Value> parseValueLiteral(std::string_view token)
{
    if (token == "empty")
        return phone::Value{phone::Empty{}};
    if (token == "null")
        return phone::Value{phone::Null{}};
    if (token == "bool:true")
        return phone::Value{true};
    if (token == "bool:false")
        return phone::Value{false};
    if (token.starts_with("i2:")) {
        if (auto v = parseInteger<std::int16_t>(token.substr(3)))
            return phone::Value{*v};
        return std::nullopt;
    }
    if (token.starts_with("r8:")) {
        if (auto v = parseDouble(token.substr(3)))
            return phone::Value{*v};
        return std::nullopt;
    }
    if (token.starts_with('"')) {
        if (auto v = parseText(token))
            return phone::Value{std::move(*v)};
        return std::nullopt;
    }
    if (auto v = parseInteger<std::int32_t>(token))
        return phone::Value{*v};
    return std::nullopt;
}

} // namespace scenario
