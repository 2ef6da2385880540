#pragma once

#include "phone/Value.h"
#include "phone/scripted/Literal.h"

#include <optional>
#include <string>
#include <string_view>

namespace scenario {

using phone::scripted::textLiteral;
using phone::scripted::toUtf8;
using phone::scripted::valueLiteral;

// UTF-8 text of a script as the control's UTF-16.
std::u16string fromUtf8(std::string_view text);

// Reads one literal token; nullopt when it is not a valid literal.
std::optional<phone::Value> parseValueLiteral(std::string_view token);

} // namespace scenario
