#pragma once

#include <string>
#include <string_view>

namespace scenario {

// A piece of a script as an error message shows it: at most about 80 characters, cut with
// "…", control characters and bytes that are no UTF-8 written as \xNN, so that a message is
// one short line of valid UTF-8 whatever the script holds.
std::string shownInMessage(std::string_view text);

} // namespace scenario
