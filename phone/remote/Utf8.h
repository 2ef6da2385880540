#pragma once

#include <string>
#include <string_view>

namespace phone::remote {

bool isUtf8(std::string_view text);

// The text with each byte that starts no valid UTF-8 sequence replaced by U+FFFD.
std::string repairedUtf8(std::string_view text);

} // namespace phone::remote
