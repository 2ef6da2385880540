#include "tools/scenario/ScriptedControl.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "tools/scenario/ValueLiteral.h"

#include <utility>

namespace scenario {

namespace {

std::string_view nameOf(std::int32_t dispId)
{
    const phone::Member *member = phone::findMember(dispId);
    return member ? member->name : std::string_view("?");
}

} // namespace

ScriptedControl::ScriptedControl(std::ostream &transcript)
    : m_transcript(transcript)
{
    using namespace phone;
    m_answers = {
        {dispid::PopUp, Value{false}},
        {dispid::ConnectionCount, Value{std::int32_t{0}}},
        {dispid::IncomingCallID, Value{std::int32_t{0}}},
        {dispid::LatestText, Value{std::u16string()}},
        {dispid::ConvertNumber, Value{std::u16string()}},
    };
}

void ScriptedControl::setAnswer(std::int32_t dispId, const phone::Value &value)
{
    m_answers[dispId] = value;
    m_failing.erase(dispId);
}

void ScriptedControl::setFailing(std::int32_t dispId)
{
    m_failing.insert(dispId);
}

void ScriptedControl::raiseEvent(std::string_view name, const phone::EventArguments &arguments)
{
    if (m_sink)
        m_sink->controlEvent(name, arguments);
}

void ScriptedControl::duringAccess(int index, std::function<void()> action)
{
    m_actionAccess = index;
    m_action = std::move(action);
}

void ScriptedControl::answerAccess(std::int32_t dispId)
{
    const int index = m_accessCount++;
    if (index == m_actionAccess && m_action) {
        // Taken out first: the action may access the control again.
        const std::function<void()> action = std::exchange(m_action, nullptr);
        action();
    }
    if (index == m_failingAccess || m_failing.contains(dispId)) {
        throw phone::Error(phone::ErrorKind::Component,
                           "Skriptfehler bei " + std::string(nameOf(dispId)));
    }
}

phone::Value ScriptedControl::getProperty(std::int32_t dispId)
{
    m_transcript << "get " << nameOf(dispId) << '\n';
    answerAccess(dispId);
    const auto answer = m_answers.find(dispId);
    return answer == m_answers.end() ? phone::Value{} : answer->second;
}

void ScriptedControl::putProperty(std::int32_t dispId, const phone::Value &value)
{
    m_transcript << "put " << nameOf(dispId) << ' ' << valueLiteral(value) << '\n';
    answerAccess(dispId);
}

phone::Value ScriptedControl::invoke(std::int32_t dispId, std::span<phone::Argument> arguments)
{
    m_transcript << "call " << nameOf(dispId);
    for (const phone::Argument &argument : arguments)
        m_transcript << ' ' << (argument.byRef ? "&" : "") << valueLiteral(argument.value);
    m_transcript << '\n';
    answerAccess(dispId);
    for (phone::Argument &argument : arguments) {
        if (argument.byRef)
            argument.value = writtenBack;
    }
    const auto answer = m_answers.find(dispId);
    return answer == m_answers.end() ? phone::Value{} : answer->second;
}

} // namespace scenario
