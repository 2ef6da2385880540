#include "tools/scenario/MessageText.h"

#include "phone/remote/Utf8.h"

#include <cstdio>

namespace scenario {

namespace {

constexpr std::size_t shownCharacters = 80;

std::string escapedByte(unsigned char byte)
{
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    return escaped;
}

} // namespace

std::string shownInMessage(std::string_view text)
{
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        if (characters == shownCharacters)
            return shown + "…";
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = phone::remote::sequenceLength(text, at);
        if (length == 0 || byte < 0x20 || byte == 0x7f) {
            shown += escapedByte(byte);
            ++at;
        } else {
            shown.append(text.substr(at, length));
            at += length;
        }
    }
    return shown;
}

} // namespace scenario
