#pragma once

#include "phone/Dispatch.h"
#include "phone/sim/Clock.h"
#include "phone/sim/Scheduler.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace phone::sim {

// How long things take on the simulated line.
struct Timing
{
    Millis ringBack{1500};        // outgoing: from dialling until the far end answers
    Millis ringInterval{3000};    // incoming: between two OnRing
    Millis abandonAfter{30000};   // incoming: an unanswered caller gives up
    Millis noticeInterval{60000}; // between two registration notices; zero for none
};

enum class Direction { Outgoing, Incoming };
enum class CallPhase { RingBack, Ringing, Connected };

// One call as the softphone sees it right now.
struct CallInfo
{
    std::int32_t id = 0;
    Direction direction = Direction::Outgoing;
    std::u16string remoteNumber;
    CallPhase phase = CallPhase::RingBack;

    bool operator==(const CallInfo &) const = default;
};

// An event the bench does not handle: the softphone renewed its registration.
inline constexpr std::string_view registrationNotice = "OnRegistered";

// The simulated softphone: calls, their timing and the events that announce them. Every
// change is decided at once, but the bench learns of it only through events delivered later
// from the event loop; ConnectionCount, LatestText and IncomingCallID move together with the
// event that announces their new value, so a handler reads what its event describes.
class Softphone
{
public:
    Softphone(const Clock &clock, std::unique_ptr<Scheduler> scheduler, Timing timing = {});
    ~Softphone();
    Softphone(const Softphone &) = delete;
    Softphone &operator=(const Softphone &) = delete;

    // Events go to this sink from now on; nullptr delivers them to nobody.
    void connectEvents(EventSink *sink) { m_sink = sink; }

    std::int32_t connectionCount() const { return m_count; }
    std::int32_t incomingCallId() const { return m_incomingCallId; }
    const std::u16string &latestText() const { return m_latestText; }
    bool popUp() const { return m_popUp; }
    void setPopUp(bool popUp);
    const std::u16string &ownNumber() const { return m_ownNumber; }
    void setOwnNumber(const std::u16string &number);

    // The control's methods. A rejected call throws phone::Error (Component) and changes
    // nothing.
    void dial(const std::u16string &number);
    void acceptCall(std::int32_t id);
    void hangUp(std::int32_t id);
    void sendDtmf(std::int32_t id, const std::u16string &digits);
    void sendShortMessage(const std::u16string &number, const std::u16string &message);
    std::u16string convertNumber(const std::u16string &number) const;

    // The other side of the line: a caller rings, the far end hangs up, the network speaks.
    std::int32_t ring(const std::u16string &callerNumber);
    void farEndHangUp(std::int32_t id);
    void raiseRegistrationNotice();

    std::vector<CallInfo> calls() const;
    // Told, synchronously, whenever anything above changes.
    void setChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    struct Call
    {
        CallInfo info;
        std::u16string callingNumber;
        std::u16string calledMSN;
        bool counted = false; // counts as a connection (dialled or accepted)
        std::vector<Scheduler::TimerId> timers;
        Millis offeredAt{};
        int rings = 0; // OnRing raised so far
    };

    // One event on its way to the bench, with the values that become visible with it
    // (nothing for a value the event leaves as it is).
    struct Pending
    {
        std::string_view name;
        EventArguments arguments;
        std::optional<std::int32_t> count;
        std::optional<std::u16string> latestText;
        std::optional<std::int32_t> incomingCallId;
    };

    Call &liveCall(std::int32_t id);
    std::int32_t countedCalls() const;
    void raise(std::string_view name, const Call &call, std::optional<std::u16string> latestText,
               std::optional<std::int32_t> incomingCallId = std::nullopt);
    void deliverNext();
    void endCall(std::int32_t id, std::u16string reason);
    void farEndAnswers(std::int32_t id);
    void ringAgain(std::int32_t id);
    void scheduleRing(Call &call);
    void callerGivesUp(std::int32_t id);
    void scheduleNotice();
    void changed();

    const Clock &m_clock;
    Timing m_timing;
    EventSink *m_sink = nullptr;
    std::function<void()> m_listener;

    std::u16string m_ownNumber = u"4711";
    bool m_popUp = true;
    std::int32_t m_nextId = 1;
    std::map<std::int32_t, Call> m_calls;
    std::deque<Pending> m_outbox;

    // What the bench reads; moves with each delivered event.
    std::int32_t m_count = 0;
    std::int32_t m_incomingCallId = 0;
    std::u16string m_latestText;

    // Last, so it goes first: with it go all tasks and timers that point back here.
    std::unique_ptr<Scheduler> m_scheduler;
};

} // namespace phone::sim
