#include "phone/NumberText.h"

#include "phone/Error.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>

namespace phone {

namespace {

// The runtime keeps at most this many digits; further ones only move the power of ten.
constexpr std::size_t maxDigits = 1024;

// The invariant locale's number characters.
constexpr char16_t decimalPoint = u'.';
constexpr char16_t groupSeparator = u',';
constexpr char16_t currencySign = u'\u00A4';

// The runtime's white space: the Unicode space characters, NEL and the no-break spaces
// included, the information separators (U+001C to U+001F) not.
bool isSpace(char16_t c)
{
    return (c >= u'\t' && c <= u'\r') || c == u' ' || c == u'\u0085' || c == u'\u00A0'
           || c == u'\u1680' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028'
           || c == u'\u2029' || c == u'\u202F' || c == u'\u205F' || c == u'\u3000';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int hexLetterValue(char16_t c)
{
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

[[noreturn]] void noNumber()
{
    throw Error(ErrorKind::Type);
}

[[noreturn]] void overflow()
{
    throw Error(ErrorKind::Overflow);
}

// What the parser has seen so far.
struct Seen
{
    bool leadingPlus = false;
    bool leadingMinus = false;
    bool parenthesis = false;
    bool currency = false;
    bool point = false;
    bool exponent = false;
    bool leadingZero = false;
    bool inexact = false;
};

// Far beyond any double, so that the sums below cannot overflow.
constexpr std::int32_t exponentLimit = 1'000'000'000;

// Reads the exponent's digits from `at`, which is a digit; leaves `at` on the first character
// after them. Wine's runtime lets a longer exponent wrap around its 32 bits (1e4294967297 reads
// as 10); here it saturates, so that it overflows or reads as zero.
std::int32_t exponentDigits(std::u16string_view text, std::size_t &at)
{
    std::int64_t value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        if (value <= exponentLimit)
            value = value * 10 + (text[at] - u'0');
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, exponentLimit));
}

std::int32_t saturatingAdd(std::int32_t a, std::int32_t b)
{
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, -exponentLimit, exponentLimit));
}

} // namespace

NumberText parseNumberText(std::u16string_view text)
{
    if (const std::size_t nul = text.find(u'\0'); nul != std::u16string_view::npos)
        text = text.substr(0, nul);
    NumberText number;
    Seen seen;
    std::size_t at = 0;
    std::size_t digitCount = 0; // also those beyond maxDigits
    const auto here = [&] {
        return at < text.size() ? text[at] : u'\0';
    };
    const auto skipZerosAfterPoint = [&](std::size_t from) {
        while (from < text.size() && text[from] == u'0') {
            seen.leadingZero = true;
            --number.power10;
            ++from;
        }
        return from;
    };

    // Signs, blanks, an opening parenthesis and the currency sign, each at most once, in any
    // order; a point ends them.
    for (;;) {
        const char16_t c = here();
        if (c == decimalPoint) {
            seen.point = true;
            if (digitCount == 0)
                at = skipZerosAfterPoint(at + 1);
            else
                ++at;
            break;
        }
        if (c != u'\0' && isSpace(c)) {
            while (at < text.size() && isSpace(text[at]))
                ++at;
        } else if (c == groupSeparator) {
            noNumber();
        } else if (c == u'+' && !seen.leadingPlus) {
            seen.leadingPlus = true;
            ++at;
        } else if (c == u'-' && !seen.leadingMinus) {
            seen.leadingMinus = true;
            number.negative = true;
            ++at;
        } else if (c == currencySign && !seen.currency) {
            seen.currency = true;
            ++at;
        } else if (c == u'(' && !seen.parenthesis) {
            seen.parenthesis = true;
            ++at;
        } else {
            break;
        }
    }

    if (!seen.currency && !seen.point && here() == u'&' && at + 1 < text.size()) {
        const char16_t base = text[at + 1];
        if (base == u'H' || base == u'h')
            number.baseShift = 4;
        else if (base == u'O' || base == u'o')
            number.baseShift = 3;
        if (number.baseShift != 0)
            at += 2;
    }
    const bool radix = number.baseShift != 0;

    while (here() == u'0') {
        seen.leadingZero = true;
        ++at;
    }

    bool inExponent = false;
    bool exponentStart = true;
    bool negativeExponent = false;
    while (at < text.size()) {
        const char16_t c = text[at];
        if (isDigit(c)) {
            if (inExponent) {
                if (exponentStart) {
                    while (at < text.size() && text[at] == u'0')
                        ++at;
                }
                std::int32_t size = exponentDigits(text, at);
                if (negativeExponent)
                    size = -size;
                number.power10 = saturatingAdd(number.power10, size);
                inExponent = false;
                exponentStart = false;
                continue; // the character after the digits is read again
            }
            if (digitCount >= maxDigits && !radix) {
                seen.inexact = true;
                number.power10 += seen.point ? -1 : 1;
            } else {
                if (number.baseShift == 3 && (c == u'8' || c == u'9'))
                    break;
                if (digitCount >= maxDigits)
                    overflow(); // a radix number that long cannot fit any integer
                if (seen.point)
                    --number.power10;
                number.digits.push_back(static_cast<std::uint8_t>(c - u'0'));
            }
            ++digitCount;
        } else if (c == groupSeparator && !radix) {
            // A group separator anywhere after the first digit, also in the exponent.
        } else if (c == decimalPoint && !radix && !seen.point && !seen.exponent) {
            seen.point = true;
            if (digitCount == 0)
                at = skipZerosAfterPoint(at + 1) - 1;
        } else if (number.baseShift == 4 && hexLetterValue(c) >= 0) {
            if (digitCount >= maxDigits)
                overflow();
            number.digits.push_back(static_cast<std::uint8_t>(hexLetterValue(c)));
            ++digitCount;
        } else if ((c == u'e' || c == u'E') && !radix && !seen.currency && !seen.exponent) {
            inExponent = true;
            seen.exponent = true;
        } else if (inExponent && c == u'+') {
            // An exponent's plus changes nothing.
        } else if (inExponent && c == u'-') {
            negativeExponent = true;
        } else {
            break;
        }
        ++at;
    }

    if (digitCount == 0 && seen.leadingZero) {
        number.digits.push_back(0);
        digitCount = 1;
    }
    if (inExponent)
        noNumber(); // an exponent without its digits

    // Trailing zeros only move the power of ten, unless digits were dropped.
    if (!seen.inexact && !radix) {
        while (number.digits.size() > 1 && number.digits.back() == 0) {
            number.digits.pop_back();
            ++number.power10;
        }
    }

    // Group separators, blanks, signs, the closing parenthesis and the currency sign after the
    // number, in any order.
    for (;;) {
        const char16_t c = here();
        if (c == groupSeparator) {
            if (radix)
                break;
            ++at;
        } else if (c != u'\0' && isSpace(c)) {
            while (at < text.size() && isSpace(text[at]))
                ++at;
        } else if (c == u'+' && !seen.leadingPlus) {
            ++at;
        } else if (c == u'-' && !seen.leadingMinus) {
            number.negative = true;
            ++at;
        } else if (c == u')' && seen.parenthesis) {
            number.negative = true;
            ++at;
        } else if (c == currencySign && !radix) {
            ++at;
        } else {
            break;
        }
    }
    if (seen.parenthesis && !number.negative)
        noNumber(); // an opening parenthesis without its closing one
    if (at != text.size() || digitCount == 0)
        noNumber();
    return number;
}

std::int32_t int32OfNumber(const NumberText &number)
{
    const std::vector<std::uint8_t> &digits = number.digits;
    constexpr std::uint64_t maximum = std::numeric_limits<std::uint64_t>::max();
    if (number.baseShift != 0) {
        std::uint64_t value = 0;
        for (std::uint8_t digit : digits) {
            if (value > ((maximum >> number.baseShift) - digit))
                overflow();
            value = (value << number.baseShift) + digit;
        }
        // The sign of a hexadecimal or octal number is ignored; FFFFFFFF is -1.
        if (value >> 32 != 0)
            overflow();
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }

    const auto count = static_cast<long long>(digits.size());
    long long wholeDigits = count;
    long long multiplier = 0;
    if (number.power10 < 0)
        wholeDigits = -static_cast<long long>(number.power10) >= count ? 0 : count + number.power10;
    else
        multiplier = number.power10;

    std::uint64_t value = 0;
    for (long long i = 0; i < wholeDigits; ++i) {
        if (value > maximum / 10 || (value == maximum / 10 && digits[i] > maximum % 10))
            overflow();
        value = value * 10 + digits[i];
    }
    for (long long i = 0; i < multiplier; ++i) {
        if (value > maximum / 10)
            overflow();
        value *= 10;
    }
    // A half is rounded to the even neighbour. The fraction is told by its first decimal,
    // also when zeros stand between the point and the digits: 0.06 is below a half. (Wine's
    // runtime takes the first stored digit there and reads 0.06 as 1; the runtime on Windows
    // does not.)
    if (wholeDigits < count) {
        const long long fractionStart =
            -static_cast<long long>(number.power10) - (count - wholeDigits);
        if (fractionStart == 0) {
            const std::uint8_t first = digits[static_cast<std::size_t>(wholeDigits)];
            bool up = first > 5;
            if (first == 5) {
                up = (value & 1) != 0;
                for (long long i = wholeDigits + 1; i < count; ++i) {
                    if (digits[static_cast<std::size_t>(i)] != 0)
                        up = true;
                }
            }
            if (up) {
                if (value == maximum)
                    overflow();
                ++value;
            }
        }
    }
    const bool negative = number.negative && value != 0;
    if (negative) {
        if (value > 2147483648u)
            overflow();
        return static_cast<std::int32_t>(0 - static_cast<std::int64_t>(value));
    }
    if (value > 2147483647u)
        overflow();
    return static_cast<std::int32_t>(value);
}

double doubleOfNumber(const NumberText &number)
{
    // The runtime's limits: the largest double it admits is a little below DBL_MAX, the
    // smallest is the least subnormal.
    constexpr double largest = 1.79769313486231470e+308;
    constexpr double smallest = 4.94065645841246544e-324;
    constexpr std::array<double, 11> powers{1.0, 10.0, 100.0, 1e3, 1e4, 1e5,
                                            1e6, 1e7,  1e8,   1e9, 1e10};
    constexpr std::array<double, 11> maxima{
        largest,       largest / 10.0,         largest / 100.0,        largest / 1000.0,
        largest / 1e4, largest / 100000.0,     largest / 1000000.0,    largest / 10000000.0,
        largest / 1e8, largest / 1000000000.0, largest / 10000000000.0};
    constexpr std::array<double, 11> minima{
        smallest,       smallest * 10.0,         smallest * 100.0,        smallest * 1000.0,
        smallest * 1e4, smallest * 100000.0,     smallest * 1000000.0,    smallest * 10000000.0,
        smallest * 1e8, smallest * 1000000000.0, smallest * 10000000000.0};

    if (number.baseShift != 0) {
        // A hexadecimal or octal number is a double only within the 32-bit range, either
        // unsigned up to 7FFFFFFF or, as its negative, down to -2^31.
        std::uint64_t value = 0;
        for (std::uint8_t digit : number.digits) {
            if (value > ((std::numeric_limits<std::uint64_t>::max() >> number.baseShift) - digit))
                overflow();
            value = (value << number.baseShift) + digit;
        }
        if (value <= 2147483647u)
            return static_cast<double>(value);
        const auto negated = static_cast<std::int64_t>(0 - value);
        if (negated >= -2147483648LL)
            return static_cast<double>(negated);
        overflow();
    }

    long long divisor = number.power10 < 0 ? -static_cast<long long>(number.power10) : 0;
    long long multiplier = number.power10 > 0 ? number.power10 : 0;

    double value = 0.0;
    for (std::uint8_t digit : number.digits)
        value = value * 10.0 + digit;
    for (; multiplier > 10; multiplier -= 10) {
        if (value > maxima[10])
            overflow();
        value *= powers[10];
    }
    if (multiplier > 0) {
        if (value > maxima[static_cast<std::size_t>(multiplier)])
            overflow();
        value *= powers[static_cast<std::size_t>(multiplier)];
    }
    for (; divisor > 10; divisor -= 10) {
        if (value < minima[10] && value != 0) {
            value = 0; // an underflow reads as zero
            divisor = 0;
            break;
        }
        value /= powers[10];
    }
    if (divisor > 0) {
        if (value < minima[static_cast<std::size_t>(divisor)] && value != 0)
            value = 0;
        else
            value /= powers[static_cast<std::size_t>(divisor)];
    }
    return number.negative ? -value : value;
}

double readNumberText(std::u16string_view text)
{
    return doubleOfNumber(parseNumberText(text));
}

} // namespace phone
