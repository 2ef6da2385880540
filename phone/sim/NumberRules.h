#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace phone::sim {

// How the simulated softphone reads telephone numbers and tone strings.

// True when the text holds at least one ASCII digit.
bool hasDigit(std::u16string_view text);

// The dialable form of a number as a person writes it: its digits, and a '+' when the number
// starts with one ("(012) 34 55 66" gives "012345566", "+49 171 23" gives "+4917123").
// Nothing when the text holds no digit.
std::optional<std::u16string> dialableForm(std::u16string_view text);

// A German mobile number (015x, 016x, 017x, or +4915.., +4916.., +4917..) in any spelling.
bool isGermanMobile(std::u16string_view number);

// True for a non-empty string of DTMF tones: 0-9, *, # and A-D.
bool isDtmfString(std::u16string_view digits);

} // namespace phone::sim
