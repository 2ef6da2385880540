#include "ScriptedHostControl.h"

#include "phone/Error.h"
#include "phone/Members.h"

#include <algorithm>

using phone::Error;
using phone::ErrorKind;
using phone::Value;

namespace remote_test {

namespace {

phone::Argument &argument(std::span<phone::Argument> arguments, std::size_t i)
{
    if (i >= arguments.size())
        throw Error(ErrorKind::Component, "Falsche Anzahl Argumente");
    return arguments[i];
}

} // namespace

ScriptedHostControl::ScriptedHostControl(bool *released)
    : m_released(released)
{
    m_properties[phone::dispid::ConnectionCount] = std::int32_t{0};
    m_properties[phone::dispid::PopUp] = true;
    m_properties[phone::dispid::LatestText] = std::u16string(u"Bereit");
}

ScriptedHostControl::~ScriptedHostControl()
{
    if (m_released)
        *m_released = true;
}

Value ScriptedHostControl::getProperty(std::int32_t dispId)
{
    if (dispId == overflowingProperty)
        throw Error(ErrorKind::Overflow);
    const auto found = m_properties.find(dispId);
    if (found == m_properties.end())
        throw Error(ErrorKind::Component, "Unbekannte Eigenschaft");
    return found->second;
}

void ScriptedHostControl::putProperty(std::int32_t dispId, const Value &value)
{
    m_properties[dispId] = value;
}

Value ScriptedHostControl::invoke(std::int32_t dispId, std::span<phone::Argument> arguments)
{
    const auto text = [&](std::size_t i) {
        return phone::toText(argument(arguments, i).value);
    };
    switch (dispId) {
    case phone::dispid::Dial: {
        const std::u16string number = text(0);
        if (std::none_of(number.begin(), number.end(),
                         [](char16_t c) { return c >= u'0' && c <= u'9'; }))
            throw Error(ErrorKind::Component, "Ungültige Rufnummer", invalidNumberCode);
        const std::int32_t id =
            std::get<std::int32_t>(m_properties[phone::dispid::ConnectionCount]) + 1;
        m_properties[phone::dispid::ConnectionCount] = id;
        m_properties[phone::dispid::LatestText] = u"Wähle " + number;
        raise("OnConnecting", {std::u16string(u"4711"), number, id});
        return phone::Empty{};
    }
    case phone::dispid::AcceptCall: {
        const std::int32_t id = phone::toInt32(argument(arguments, 0).value);
        const bool byRef = argument(arguments, 0).byRef;
        arguments[0].value = std::int32_t{999};
        return id * 10 + (byRef ? 1 : 0);
    }
    case phone::dispid::SendShortMessage:
        return text(1);
    case phone::dispid::HangUp:
        m_deferred.push_back(
            {"OnDisConnected",
             {std::u16string(u"4711"), std::u16string(u"0"), argument(arguments, 0).value}});
        return phone::Empty{};
    default:
        throw Error(ErrorKind::Component, "Unbekannte Methode");
    }
}

void ScriptedHostControl::fireDeferred()
{
    if (m_eventDepth == 0 && !m_deferred.empty()) {
        auto [name, arguments] = std::move(m_deferred.front());
        m_deferred.pop_front();
        raise(name, arguments);
    }
}

void ScriptedHostControl::raise(const std::string &name, const phone::EventArguments &arguments)
{
    if (!m_sink)
        return;
    struct Depth
    {
        int &depth;
        explicit Depth(int &d)
            : depth(++d)
        {}
        ~Depth() { --depth; }
    } inEvent(m_eventDepth);
    m_sink->controlEvent(name, arguments);
}

} // namespace remote_test
