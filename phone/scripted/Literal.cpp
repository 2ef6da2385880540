#include "phone/scripted/Literal.h"

namespace phone::scripted {

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
