#include "phone/scripted/Literal.h"

namespace phone::scripted {

namespace {

bool isHigh(char32_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}

bool isLow(char32_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

} // namespace

std::string toUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (isHigh(c) || isLow(c))
            c = 0xFFFD;
        appendUtf8(out, c);
    }
    return out;
}

std::string textLiteral(std::u16string_view text)
{
    std::string out = "\"";
    for (char c : toUtf8(text)) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string valueLiteral(const Value &value)
{
    struct Visitor
    {
        std::string operator()(Empty) const { return "empty"; }
        std::string operator()(Null) const { return "null"; }
        std::string operator()(bool v) const { return v ? "bool:true" : "bool:false"; }
        std::string operator()(std::int16_t v) const { return "i2:" + std::to_string(v); }
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(double v) const { return "r8:" + shortestDouble(v); }
        std::string operator()(const std::u16string &v) const { return textLiteral(v); }
    };
    return std::visit(Visitor{}, value);
}

} // namespace phone::scripted
