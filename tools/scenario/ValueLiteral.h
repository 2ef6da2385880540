#pragma once

#include "phone/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// UTF-8 <-> the control's UTF-16 text. An unpaired surrogate, which UTF-8 cannot hold, goes
// out as U+FFFD.
std::string toUtf8(const std::u16string &text);
std::u16string fromUtf8(std::string_view text);

// A text in double quotes, with \" for a quote and \\ for a backslash.
std::string textLiteral(const std::u16string &text);

// The literal of a value as scripts and transcripts write it: 5, i2:1, r8:2.5, bool:true,
// "text", empty, null.
std::string valueLiteral(const phone::Value &value);

// Reads one literal token; nullopt when it is not a valid literal.
std::optional<phone::Value> parseValueLiteral(std::string_view token);

} // namespace scenario
