#pragma once

#include <string_view>

namespace phone {

// The text with the blanks around it removed (ASCII white space: space, tab, line breaks).
std::u16string_view trimBlanks(std::u16string_view text);

// Reads a number the way the platform converts text to a number, in the invariant locale.
// Throws Error(Type) when the text is no number and Error(Overflow) when it does not fit.
double readNumberText(std::u16string_view text);

} // namespace phone
