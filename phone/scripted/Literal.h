#pragma once

#include "phone/Value.h"

#include <string>

namespace phone::scripted {

// The control's UTF-16 text as UTF-8. An unpaired surrogate, which UTF-8 cannot hold, goes
// out as U+FFFD.
std::string toUtf8(std::u16string_view text);

// A text in double quotes, with \" for a quote and \\ for a backslash.
std::string textLiteral(std::u16string_view text);

// The literal of a value as scripts and traces write it: 5, i2:1, r8:2.5, bool:true, "text",
// empty, null.
std::string valueLiteral(const Value &value);

} // namespace phone::scripted
