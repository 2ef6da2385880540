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

// Reads a number text in the steps a reader follows: what may stand before the number, a
// radix prefix, the digits with their point and exponent, and what may stand after them.
class NumberReader
{
public:
    explicit NumberReader(std::u16string_view text)
        : m_text(text.substr(0, text.find(u'\0')))
    {}

    NumberText read()
    {
        readPrefix();
        readRadixPrefix();
        readDigits();
        dropTrailingZeros();
        readSuffix();
        if (m_seen.parenthesis && !m_number.negative)
            noNumber(); // an opening parenthesis without its closing one
        if (m_at != m_text.size() || m_digitCount == 0)
            noNumber();
        return m_number;
    }

private:
    char16_t here() const { return m_at < m_text.size() ? m_text[m_at] : u'\0'; }
    bool radix() const { return m_number.baseShift != 0; }

    void skipSpaces()
    {
        while (m_at < m_text.size() && isSpace(m_text[m_at]))
            ++m_at;
    }

    std::size_t skipZerosAfterPoint(std::size_t from)
    {
        while (from < m_text.size() && m_text[from] == u'0') {
            m_seen.leadingZero = true;
            --m_number.power10;
            ++from;
        }
        return from;
    }

    // Signs, blanks, an opening parenthesis and the currency sign, each at most once, in any
    // order; a point ends them.
    void readPrefix()
    {
        for (;;) {
            const char16_t c = here();
            if (c == decimalPoint) {
                m_seen.point = true;
                m_at = m_digitCount == 0 ? skipZerosAfterPoint(m_at + 1) : m_at + 1;
                return;
            }
            if (c != u'\0' && isSpace(c)) {
                skipSpaces();
            } else if (c == groupSeparator) {
                noNumber();
            } else if (c == u'+' && !m_seen.leadingPlus) {
                m_seen.leadingPlus = true;
                ++m_at;
            } else if (c == u'-' && !m_seen.leadingMinus) {
                m_seen.leadingMinus = true;
                m_number.negative = true;
                ++m_at;
            } else if (c == currencySign && !m_seen.currency) {
                m_seen.currency = true;
                ++m_at;
            } else if (c == u'(' && !m_seen.parenthesis) {
                m_seen.parenthesis = true;
                ++m_at;
            } else {
                return;
            }
        }
    }

    // "&H" for hexadecimal, "&O" for octal digits; then the leading zeros.
    void readRadixPrefix()
    {
        if (!m_seen.currency && !m_seen.point && here() == u'&' && m_at + 1 < m_text.size()) {
            const char16_t base = m_text[m_at + 1];
            if (base == u'H' || base == u'h')
                m_number.baseShift = 4;
            else if (base == u'O' || base == u'o')
                m_number.baseShift = 3;
            if (radix())
                m_at += 2;
        }
        while (here() == u'0') {
            m_seen.leadingZero = true;
            ++m_at;
        }
    }

    // The digits, group separators and a point among them, and the exponent after them.
    void readDigits()
    {
        bool inExponent = false;
        bool exponentStart = true;
        bool negativeExponent = false;
        while (m_at < m_text.size()) {
            const char16_t c = m_text[m_at];
            if (isDigit(c) && inExponent) {
                readExponentDigits(exponentStart, negativeExponent);
                inExponent = false;
                exponentStart = false;
                continue; // the character after the digits is read again
            }
            if (isDigit(c)) {
                if (!addDecimalDigit(c))
                    break;
            } else if (c == groupSeparator && !radix()) {
                // A group separator anywhere after the first digit, also in the exponent.
            } else if (c == decimalPoint && !radix() && !m_seen.point && !m_seen.exponent) {
                m_seen.point = true;
                if (m_digitCount == 0)
                    m_at = skipZerosAfterPoint(m_at + 1) - 1;
            } else if (m_number.baseShift == 4 && hexLetterValue(c) >= 0) {
                if (m_digitCount >= maxDigits)
                    overflow();
                m_number.digits.push_back(static_cast<std::uint8_t>(hexLetterValue(c)));
                ++m_digitCount;
            } else if ((c == u'e' || c == u'E') && !radix() && !m_seen.currency
                       && !m_seen.exponent) {
                inExponent = true;
                m_seen.exponent = true;
            } else if (inExponent && c == u'+') {
                // An exponent's plus changes nothing.
            } else if (inExponent && c == u'-') {
                negativeExponent = true;
            } else {
                break;
            }
            ++m_at;
        }
        if (m_digitCount == 0 && m_seen.leadingZero) {
            m_number.digits.push_back(0);
            m_digitCount = 1;
        }
        if (inExponent)
            noNumber(); // an exponent without its digits
    }

    // A digit 0 to 9 of the number. False for an octal number's 8 or 9, which ends it.
    bool addDecimalDigit(char16_t c)
    {
        if (m_digitCount >= maxDigits && !radix()) {
            m_seen.inexact = true;
            m_number.power10 += m_seen.point ? -1 : 1;
        } else {
            if (m_number.baseShift == 3 && (c == u'8' || c == u'9'))
                return false;
            if (m_digitCount >= maxDigits)
                overflow(); // a radix number that long cannot fit any integer
            if (m_seen.point)
                --m_number.power10;
            m_number.digits.push_back(static_cast<std::uint8_t>(c - u'0'));
        }
        ++m_digitCount;
        return true;
    }

    // The exponent's digits, from the first one; leaves m_at on the character after them.
    void readExponentDigits(bool exponentStart, bool negativeExponent)
    {
        if (exponentStart) {
            while (m_at < m_text.size() && m_text[m_at] == u'0')
                ++m_at;
        }
        std::int32_t size = exponentDigits(m_text, m_at);
        if (negativeExponent)
            size = -size;
        m_number.power10 = saturatingAdd(m_number.power10, size);
    }

    // Trailing zeros only move the power of ten, unless digits were dropped.
    void dropTrailingZeros()
    {
        if (m_seen.inexact || radix())
            return;
        while (m_number.digits.size() > 1 && m_number.digits.back() == 0) {
            m_number.digits.pop_back();
            ++m_number.power10;
        }
    }

    // Group separators, blanks, signs, the closing parenthesis and the currency sign after the
    // number, in any order.
    void readSuffix()
    {
        for (;;) {
            const char16_t c = here();
            if (c == groupSeparator) {
                if (radix())
                    return;
                ++m_at;
            } else if (c != u'\0' && isSpace(c)) {
                skipSpaces();
            } else if (c == u'+' && !m_seen.leadingPlus) {
                ++m_at;
            } else if (c == u'-' && !m_seen.leadingMinus) {
                m_number.negative = true;
                ++m_at;
            } else if (c == u')' && m_seen.parenthesis) {
                m_number.negative = true;
                ++m_at;
            } else if (c == currencySign && !radix()) {
                ++m_at;
            } else {
                return;
            }
        }
    }

    std::u16string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_digitCount = 0; // also those beyond maxDigits
    NumberText m_number;
    Seen m_seen;
};

} // namespace

NumberText parseNumberText(std::u16string_view text)
{
    return NumberReader(text).read();
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
