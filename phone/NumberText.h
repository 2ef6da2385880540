#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace phone {

// A number as the automation runtime reads it from text, in the invariant locale, before it
// becomes a value of some type: its significant decimal digits and a power of ten, or the
// digits of a hexadecimal (&H) or octal (&O) number.
struct NumberText
{
    std::vector<std::uint8_t> digits;
    int power10 = 0;
    bool negative = false;
    int baseShift = 0; // 4 for &H, 3 for &O, 0 for decimal
};

// Reads text the way the runtime does: white space, a sign ('+' or '-', before or after the
// number), parentheses for a negative number and the currency sign "¤" around it; ',' as a
// group separator anywhere after the first digit or the point; one '.', an exponent; or &H/&O
// digits. The text ends at its first NUL, as the runtime's parser reads it. Throws
// Error(Type) for text that is no number.
NumberText parseNumberText(std::u16string_view text);

// The number as a 32-bit integer, a half rounded to the even neighbour; hexadecimal and octal
// numbers up to FFFFFFFF wrap into the negative range. Throws Error(Overflow).
std::int32_t int32OfNumber(const NumberText &number);

// The number as a double, computed as the runtime computes it (digit by digit, then scaled by
// powers of ten), so that an overflow, an underflow to zero and the last bits agree with it.
// Throws Error(Overflow).
double doubleOfNumber(const NumberText &number);

// parseNumberText and doubleOfNumber in one.
double readNumberText(std::u16string_view text);

} // namespace phone
