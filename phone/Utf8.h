#pragma once

#include <string>
#include <string_view>

namespace phone {

// The control's UTF-16 text as UTF-8. An unpaired surrogate, which UTF-8 cannot hold, goes
// out as U+FFFD.
std::string toUtf8(std::u16string_view text);

// UTF-8 as UTF-16; each byte that starts no valid sequence becomes U+FFFD.
std::u16string fromUtf8(std::string_view text);

} // namespace phone
