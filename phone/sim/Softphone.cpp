#include "phone/sim/Softphone.h"

#include "phone/Error.h"
#include "phone/sim/NumberRules.h"

#include <algorithm>
#include <string>

namespace phone::sim {

namespace {

std::u16string decimal(std::int32_t number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

[[noreturn]] void reject(const std::string &description)
{
    throw Error(ErrorKind::Component, description);
}

} // namespace

Softphone::Softphone(const Clock &clock, std::unique_ptr<Scheduler> scheduler, Timing timing)
    : m_clock(clock)
    , m_timing(timing)
    , m_latestText(u"Bereit")
    , m_scheduler(std::move(scheduler))
{
    scheduleNotice();
}

Softphone::~Softphone() = default;

void Softphone::setPopUp(bool popUp)
{
    m_popUp = popUp;
    m_latestText = popUp ? u"PopUp eingeschaltet" : u"PopUp ausgeschaltet";
    changed();
}

void Softphone::setOwnNumber(const std::u16string &number)
{
    m_ownNumber = number;
    changed();
}

void Softphone::dial(const std::u16string &number)
{
    if (!hasDigit(number))
        reject("Ungültige Rufnummer");
    const std::int32_t id = m_nextId++;
    Call &call = m_calls[id];
    call.info = CallInfo{id, Direction::Outgoing, number, CallPhase::RingBack};
    call.callingNumber = m_ownNumber;
    call.calledMSN = number;
    call.counted = true;
    call.timers.push_back(
        m_scheduler->postAt(m_clock.now() + m_timing.ringBack, [this, id] { farEndAnswers(id); }));
    raise("OnConnecting", call, u"Wähle " + number);
    changed();
}

void Softphone::farEndAnswers(std::int32_t id)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end() || it->second.info.phase != CallPhase::RingBack)
        return;
    Call &call = it->second;
    call.info.phase = CallPhase::Connected;
    raise("OnConnected", call, u"Verbunden mit " + call.info.remoteNumber);
    changed();
}

std::int32_t Softphone::ring(const std::u16string &callerNumber)
{
    const std::int32_t id = m_nextId++;
    Call &call = m_calls[id];
    call.info = CallInfo{id, Direction::Incoming, callerNumber, CallPhase::Ringing};
    call.callingNumber = callerNumber;
    call.calledMSN = m_ownNumber;
    call.offeredAt = m_clock.now();
    raise("OnOffering", call, u"Anruf von " + callerNumber, id);
    raise("OnRing", call, u"Es klingelt: " + callerNumber);
    scheduleRing(call);
    call.timers.push_back(m_scheduler->postAt(call.offeredAt + m_timing.abandonAfter,
                                              [this, id] { callerGivesUp(id); }));
    changed();
    return id;
}

void Softphone::ringAgain(std::int32_t id)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end() || it->second.info.phase != CallPhase::Ringing)
        return;
    Call &call = it->second;
    raise("OnRing", call, u"Es klingelt: " + call.info.remoteNumber);
    scheduleRing(call);
}

void Softphone::scheduleRing(Call &call)
{
    // Counted from the offer, so a late timer does not push the following rings back. The
    // caller gives up at abandonAfter; a ring due at that moment no longer comes.
    ++call.rings;
    const Millis next = call.offeredAt + call.rings * m_timing.ringInterval;
    if (m_timing.ringInterval <= Millis::zero() || next >= call.offeredAt + m_timing.abandonAfter)
        return;
    const std::int32_t id = call.info.id;
    call.timers.push_back(m_scheduler->postAt(next, [this, id] { ringAgain(id); }));
}

void Softphone::callerGivesUp(std::int32_t id)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end() || it->second.info.phase != CallPhase::Ringing)
        return;
    endCall(id, it->second.info.remoteNumber + u" hat aufgegeben");
}

void Softphone::acceptCall(std::int32_t id)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end() || it->second.info.phase != CallPhase::Ringing)
        reject("Kein ankommender Anruf mit der ID " + std::to_string(id));
    Call &call = it->second;
    for (const Scheduler::TimerId timer : call.timers)
        m_scheduler->cancel(timer);
    call.timers.clear();
    call.info.phase = CallPhase::Connected;
    call.counted = true;
    raise("OnConnecting", call, u"Nehme Anruf von " + call.info.remoteNumber + u" an");
    raise("OnConnected", call, u"Verbunden mit " + call.info.remoteNumber);
    changed();
}

void Softphone::hangUp(std::int32_t id)
{
    endCall(id, u"Verbindung mit " + liveCall(id).info.remoteNumber + u" beendet");
}

void Softphone::farEndHangUp(std::int32_t id)
{
    endCall(id, liveCall(id).info.remoteNumber + u" hat aufgelegt");
}

Softphone::Call &Softphone::liveCall(std::int32_t id)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end())
        reject("Keine Verbindung mit der ID " + std::to_string(id));
    return it->second;
}

void Softphone::endCall(std::int32_t id, std::u16string reason)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end())
        return;
    const Call call = std::move(it->second);
    for (const Scheduler::TimerId timer : call.timers)
        m_scheduler->cancel(timer);
    raise("OnDisconnecting", call, u"Trenne Verbindung mit " + call.info.remoteNumber);
    m_calls.erase(it);
    raise("OnDisConnected", call, std::move(reason));
    if (m_calls.empty()) {
        Call idle;
        idle.calledMSN = m_ownNumber;
        raise("OnIdle", idle, u"Keine Verbindung");
    }
    changed();
}

void Softphone::sendDtmf(std::int32_t id, const std::u16string &digits)
{
    const auto it = m_calls.find(id);
    if (it == m_calls.end() || it->second.info.phase != CallPhase::Connected)
        reject("Keine bestehende Verbindung mit der ID " + std::to_string(id));
    if (!isDtmfString(digits))
        reject("Ungültige DTMF-Zeichen");
    m_latestText = u"DTMF " + digits + u" an Verbindung " + decimal(id) + u" gesendet";
    changed();
}

void Softphone::sendShortMessage(const std::u16string &number, const std::u16string &)
{
    if (!hasDigit(number))
        reject("Ungültige Rufnummer");
    m_latestText = isGermanMobile(number)
                       ? u"SMS an " + number + u" gesendet"
                       : u"Text als Sprachanruf (TTS) an " + number + u" gesendet";
    changed();
}

std::u16string Softphone::convertNumber(const std::u16string &number) const
{
    std::optional<std::u16string> dialable = dialableForm(number);
    if (!dialable)
        reject("Keine Rufnummer erkannt");
    return std::move(*dialable);
}

void Softphone::raiseRegistrationNotice()
{
    // Arguments the bench could not even take as a call event: it must not look at them.
    m_outbox.push_back(
        Pending{registrationNotice, EventArguments{m_ownNumber, Value{}, Null{}}, {}, {}, {}});
    m_scheduler->post([this] { deliverNext(); });
}

void Softphone::scheduleNotice()
{
    if (m_timing.noticeInterval <= Millis::zero())
        return;
    m_scheduler->postAt(m_clock.now() + m_timing.noticeInterval, [this] {
        raiseRegistrationNotice();
        scheduleNotice();
    });
}

std::int32_t Softphone::countedCalls() const
{
    return static_cast<std::int32_t>(std::count_if(
        m_calls.begin(), m_calls.end(), [](const auto &entry) { return entry.second.counted; }));
}

void Softphone::raise(std::string_view name, const Call &call,
                      std::optional<std::u16string> latestText,
                      std::optional<std::int32_t> incomingCallId)
{
    m_outbox.push_back(Pending{name,
                               EventArguments{call.callingNumber, call.calledMSN, call.info.id},
                               countedCalls(), std::move(latestText), incomingCallId});
    m_scheduler->post([this] { deliverNext(); });
}

void Softphone::deliverNext()
{
    if (m_outbox.empty())
        return;
    Pending event = std::move(m_outbox.front());
    m_outbox.pop_front();
    if (event.count)
        m_count = *event.count;
    if (event.latestText)
        m_latestText = std::move(*event.latestText);
    if (event.incomingCallId)
        m_incomingCallId = *event.incomingCallId;
    changed();
    if (m_sink)
        m_sink->controlEvent(event.name, event.arguments);
}

std::vector<CallInfo> Softphone::calls() const
{
    std::vector<CallInfo> result;
    result.reserve(m_calls.size());
    for (const auto &[id, call] : m_calls)
        result.push_back(call.info);
    return result;
}

void Softphone::changed()
{
    if (m_listener)
        m_listener();
}

} // namespace phone::sim
