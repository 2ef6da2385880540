#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace phone::remote {

// Length of the well-formed sequence starting at `at` (< text.size()), or 0. Overlong forms,
// surrogates and code points above U+10FFFF are not well-formed.
std::size_t sequenceLength(std::string_view text, std::size_t at);

// The offset of the first byte that starts no well-formed sequence, or npos.
std::size_t firstInvalidUtf8(std::string_view text);

bool isUtf8(std::string_view text);

// The text with each byte that starts no valid UTF-8 sequence replaced by U+FFFD.
std::string repairedUtf8(std::string_view text);

} // namespace phone::remote
