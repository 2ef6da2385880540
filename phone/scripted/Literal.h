#pragma once

#include "phone/Utf8.h"
#include "phone/Value.h"

#include <string>

namespace phone::scripted {

using phone::toUtf8;

// A text in double quotes, with \" for a quote and \\ for a backslash.
std::string textLiteral(std::u16string_view text);

// The literal of a value as scripts and traces write it: 5, i2:1, r8:2.5, bool:true, "text",
// empty, null.
std::string valueLiteral(const Value &value);

} // namespace phone::scripted
