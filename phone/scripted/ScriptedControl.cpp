#include "phone/scripted/ScriptedControl.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/scripted/Literal.h"

#include <string>
#include <utility>

namespace phone::scripted {

std::string accessLine(const Access &access)
{
    const Member *member = findMember(access.dispId);
    const std::string name = member ? std::string(member->name) : std::string("?");
    switch (access.kind) {
    case AccessKind::Get:
        return "get " + name;
    case AccessKind::Put:
        return "put " + name + ' ' + valueLiteral(access.arguments.front().value);
    case AccessKind::Call:
        break;
    }
    std::string line = "call " + name;
    for (const Argument &argument : access.arguments)
        line += (argument.byRef ? " &" : " ") + valueLiteral(argument.value);
    return line;
}

Value ScriptedControl::initialAnswer(std::int32_t dispId)
{
    switch (dispId) {
    case dispid::PopUp:
        return Value{false};
    case dispid::ConnectionCount:
    case dispid::IncomingCallID:
        return Value{std::int32_t{0}};
    case dispid::LatestText:
    case dispid::ConvertNumber:
        return Value{std::u16string()};
    default:
        return Value{};
    }
}

ScriptedControl::ScriptedControl()
{
    for (const Member &member : members)
        m_answers[member.dispId] = initialAnswer(member.dispId);
}

void ScriptedControl::setAnswer(std::int32_t dispId, const Value &value)
{
    m_answers[dispId] = value;
    m_failing.erase(dispId);
}

void ScriptedControl::setFailing(std::int32_t dispId)
{
    m_failing.insert(dispId);
}

void ScriptedControl::raiseEvent(std::string_view name, const EventArguments &arguments)
{
    if (m_sink)
        m_sink->controlEvent(name, arguments);
}

void ScriptedControl::raiseEventToLastSink(std::string_view name, const EventArguments &arguments)
{
    if (m_lastSink)
        m_lastSink->controlEvent(name, arguments);
}

void ScriptedControl::duringAccess(int index, std::function<void()> action)
{
    m_actionAccess = index;
    m_action = std::move(action);
}

void ScriptedControl::connectEvents(EventSink *sink)
{
    if (sink) {
        ++m_connects;
        m_lastSink = sink;
    } else {
        ++m_disconnects;
    }
    m_sink = sink;
}

void ScriptedControl::answerAccess(const Access &access)
{
    if (m_listener)
        m_listener(access);
    if (m_disconnects > 0)
        ++m_accessesAfterDisconnect;
    const int index = m_accessCount++;
    if (index == m_actionAccess && m_action) {
        // Taken out first: the action may access the control again.
        const std::function<void()> action = std::exchange(m_action, nullptr);
        action();
    }
    if (index == m_failingAccess || m_failing.contains(access.dispId)) {
        const Member *member = findMember(access.dispId);
        throw Error(ErrorKind::Component,
                    "Skriptfehler bei " + std::string(member ? member->name : "?"));
    }
}

Value ScriptedControl::answerOf(std::int32_t dispId) const
{
    const auto answer = m_answers.find(dispId);
    return answer == m_answers.end() ? Value{} : answer->second;
}

Value ScriptedControl::getProperty(std::int32_t dispId)
{
    answerAccess({AccessKind::Get, dispId, {}});
    return answerOf(dispId);
}

void ScriptedControl::putProperty(std::int32_t dispId, const Value &value)
{
    const Argument written{value};
    answerAccess({AccessKind::Put, dispId, std::span<const Argument>(&written, 1)});
}

Value ScriptedControl::invoke(std::int32_t dispId, std::span<Argument> arguments)
{
    answerAccess({AccessKind::Call, dispId, arguments});
    for (Argument &argument : arguments) {
        if (argument.byRef)
            argument.value = writtenBack;
    }
    return answerOf(dispId);
}

} // namespace phone::scripted
