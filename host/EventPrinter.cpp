#include "host/EventPrinter.h"

#include "phone/com/ComText.h"

#include <type_traits>

namespace phone::host {

namespace {

std::string valueText(const Value &value)
{
    return std::visit(
        [](const auto &v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Empty>)
                return "Empty";
            else if constexpr (std::is_same_v<T, Null>)
                return "Null";
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "True" : "False";
            else if constexpr (std::is_same_v<T, double>)
                return shortestDouble(v);
            else if constexpr (std::is_same_v<T, std::u16string>)
                return "\"" + phone::com::toUtf8(v) + "\"";
            else
                return std::to_string(v);
        },
        value);
}

} // namespace

std::string eventLine(std::string_view name, const EventArguments &arguments)
{
    return std::string(name) + " CallingNumber=" + valueText(arguments.callingNumber)
           + " CalledMSN=" + valueText(arguments.calledMSN)
           + " CallID=" + valueText(arguments.callID);
}

void EventPrinter::controlEvent(std::string_view name, const EventArguments &arguments)
{
    m_out << eventLine(name, arguments) << std::endl;
}

} // namespace phone::host
