#include "phone/sim/SimulatedControl.h"

#include "phone/Error.h"
#include "phone/Members.h"

namespace phone::sim {

namespace {

const Member &member(std::int32_t dispId, MemberKind kind)
{
    const Member *found = findMember(dispId);
    if (!found || found->kind != kind)
        throw Error(ErrorKind::Component, "Methode oder Datenelement nicht gefunden");
    return *found;
}

void expectArguments(std::span<Argument> arguments, std::size_t count)
{
    if (arguments.size() != count)
        throw Error(ErrorKind::Component, "Falsche Anzahl an Argumenten");
}

} // namespace

SimulatedControl::SimulatedControl(const Clock &clock, std::unique_ptr<Scheduler> scheduler,
                                   Timing timing)
    : m_softphone(clock, std::move(scheduler), timing)
{
    m_softphone.setChangeListener([this] { changed(); });
}

Value SimulatedControl::getProperty(std::int32_t dispId)
{
    member(dispId, MemberKind::Property);
    failIfInjected(dispId);
    switch (dispId) {
    case dispid::PopUp:
        return m_softphone.popUp();
    case dispid::ConnectionCount:
        if (const std::optional<Value> &answer = m_faults.connectionCountAnswer())
            return *answer;
        return m_softphone.connectionCount();
    case dispid::IncomingCallID:
        return m_softphone.incomingCallId();
    default: // dispid::LatestText
        return m_softphone.latestText();
    }
}

void SimulatedControl::putProperty(std::int32_t dispId, const Value &value)
{
    member(dispId, MemberKind::Property);
    failIfInjected(dispId);
    if (dispId != dispid::PopUp)
        throw Error(ErrorKind::Component, "Eigenschaft ist schreibgeschützt");
    m_softphone.setPopUp(toBool(value));
}

Value SimulatedControl::invoke(std::int32_t dispId, std::span<Argument> arguments)
{
    member(dispId, MemberKind::Method);
    failIfInjected(dispId);
    switch (dispId) {
    case dispid::Dial:
        expectArguments(arguments, 1);
        m_softphone.dial(toText(arguments[0].value));
        return {};
    case dispid::SendShortMessage:
        expectArguments(arguments, 2);
        m_softphone.sendShortMessage(toText(arguments[0].value), toText(arguments[1].value));
        return {};
    case dispid::SendDTMF:
        expectArguments(arguments, 2);
        m_softphone.sendDtmf(toInt32(arguments[0].value), toText(arguments[1].value));
        return {};
    case dispid::AcceptCall:
        expectArguments(arguments, 1);
        m_softphone.acceptCall(toInt32(arguments[0].value));
        return {};
    case dispid::HangUp:
        expectArguments(arguments, 1);
        m_softphone.hangUp(toInt32(arguments[0].value));
        return {};
    default: // dispid::ConvertNumber
        expectArguments(arguments, 1);
        return m_softphone.convertNumber(toText(arguments[0].value));
    }
}

void SimulatedControl::injectFault(std::int32_t dispId, FaultMode mode)
{
    m_faults.inject(dispId, mode);
    changed();
}

void SimulatedControl::clearFault(std::int32_t dispId)
{
    m_faults.clear(dispId);
    changed();
}

void SimulatedControl::clearFaults()
{
    m_faults.clearAll();
    changed();
}

void SimulatedControl::setConnectionCountAnswer(std::optional<Value> answer)
{
    m_faults.setConnectionCountAnswer(std::move(answer));
    changed();
}

void SimulatedControl::setChangeListener(std::function<void()> listener)
{
    m_listener = std::move(listener);
}

void SimulatedControl::failIfInjected(std::int32_t dispId)
{
    try {
        m_faults.check(dispId);
    } catch (...) {
        // A fault for the next access only is used up now: the panel shows that.
        changed();
        throw;
    }
}

void SimulatedControl::changed()
{
    if (m_listener)
        m_listener();
}

} // namespace phone::sim
