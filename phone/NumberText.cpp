#include "phone/NumberText.h"

#include "phone/Error.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

// Accepted forms, with optional blanks around the whole text:
//
//   [+|-] digits [',' digits ...] ['.' [digits]] [(e|E) [+|-] digits]
//   [+|-] '.' digits [(e|E) [+|-] digits]
//   &H hexdigits      (&h as well; value up to FFFFFFFF)
//   &O octaldigits    (&o as well; value up to 37777777777)
//
// A ',' is a group separator and may stand only between two digits of the integer part; the
// grouping itself is not checked, so "1,5" reads as 15. No blank
// may follow the sign, and the &H and &O forms take no sign. Hexadecimal and octal values are
// typed by size the way the platform types such literals: a value up to FFFF is a 16-bit integer
// (so "&HFFFF" is -1 and "&H8000" is -32768), a value up to FFFFFFFF a 32-bit one ("&HFFFFFFFF"
// is -1, "&H10000" is 65536), and anything larger is an overflow. A decimal number too large for
// a double is an overflow; one too small for a double reads as zero.

namespace phone {

namespace {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(char16_t c, int radix)
{
    int value = radix;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < radix ? value : -1;
}

[[noreturn]] void noNumber()
{
    throw Error(ErrorKind::Type);
}

double readRadixDigits(std::u16string_view digits, int radix)
{
    if (digits.empty())
        noNumber();
    for (char16_t c : digits) {
        if (digitValue(c, radix) < 0)
            noNumber();
    }
    std::uint64_t value = 0;
    for (char16_t c : digits) {
        value = value * radix + digitValue(c, radix);
        if (value > 0xFFFFFFFFu)
            throw Error(ErrorKind::Overflow);
    }
    if (value <= 0xFFFFu)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Decimal exponent of the leading nonzero digit, for telling an overflow from an underflow when
// the double conversion reports its result out of range. Saturates far beyond any double.
long long leadingExponent(const std::string &mantissa, std::size_t pointPosition,
                          std::string_view exponent)
{
    constexpr long long limit = 1'000'000'000;
    long long value = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-')
            negative = true;
        else if (c != '+' && value < limit)
            value = value * 10 + (c - '0');
    }
    const auto firstNonZero = static_cast<long long>(mantissa.find_first_not_of('0'));
    return static_cast<long long>(pointPosition) - firstNonZero - 1 + (negative ? -value : value);
}

double readDecimal(std::u16string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    const bool negative = i < n && text[i] == u'-';
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;

    std::string mantissa; // all digits, without separators or point
    for (; i < n; ++i) {
        if (isDigit(text[i]))
            mantissa += static_cast<char>(text[i]);
        else if (!(text[i] == u',' && !mantissa.empty() && isDigit(text[i - 1]) && i + 1 < n
                   && isDigit(text[i + 1])))
            break;
    }
    const std::size_t pointPosition = mantissa.size();
    if (i < n && text[i] == u'.') {
        for (++i; i < n && isDigit(text[i]); ++i)
            mantissa += static_cast<char>(text[i]);
    }
    if (mantissa.empty())
        noNumber();

    std::string exponent;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            exponent += static_cast<char>(text[i++]);
        const std::size_t firstDigit = i;
        for (; i < n && isDigit(text[i]); ++i)
            exponent += static_cast<char>(text[i]);
        if (i == firstDigit)
            noNumber();
    }
    if (i != n)
        noNumber();

    std::string ascii = mantissa;
    ascii.insert(pointPosition, 1, '.');
    if (!exponent.empty())
        ascii += 'e' + exponent;
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        if (leadingExponent(mantissa, pointPosition, exponent) > 0)
            throw Error(ErrorKind::Overflow);
        value = 0;
    } else if (error != std::errc() || end != ascii.data() + ascii.size()) {
        noNumber();
    }
    return negative ? -value : value;
}

} // namespace

std::u16string_view trimBlanks(std::u16string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

double readNumberText(std::u16string_view text)
{
    text = trimBlanks(text);
    if (text.size() >= 2 && text[0] == u'&') {
        if (text[1] == u'H' || text[1] == u'h')
            return readRadixDigits(text.substr(2), 16);
        if (text[1] == u'O' || text[1] == u'o')
            return readRadixDigits(text.substr(2), 8);
    }
    return readDecimal(text);
}

} // namespace phone
