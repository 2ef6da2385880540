#include "phone/sim/NumberRules.h"

#include <algorithm>
#include <array>

namespace phone::sim {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

bool hasDigit(std::u16string_view text)
{
    return std::any_of(text.begin(), text.end(), isDigit);
}

std::optional<std::u16string> dialableForm(std::u16string_view text)
{
    if (!hasDigit(text))
        return std::nullopt;
    std::u16string dialable;
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    if (first != text.end() && *first == u'+')
        dialable += u'+';
    std::copy_if(text.begin(), text.end(), std::back_inserter(dialable), isDigit);
    return dialable;
}

bool isGermanMobile(std::u16string_view number)
{
    const std::optional<std::u16string> dialable = dialableForm(number);
    if (!dialable)
        return false;
    static constexpr std::array<std::u16string_view, 6> prefixes{
        u"015", u"016", u"017", u"+4915", u"+4916", u"+4917",
    };
    return std::any_of(prefixes.begin(), prefixes.end(), [&](std::u16string_view prefix) {
        return dialable->size() > prefix.size() && dialable->starts_with(prefix);
    });
}

bool isDtmfString(std::u16string_view digits)
{
    constexpr std::u16string_view tones = u"0123456789*#ABCD";
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [&](char16_t c) {
        return tones.find(c) != std::u16string_view::npos;
    });
}

} // namespace phone::sim
