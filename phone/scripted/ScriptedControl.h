#pragma once

#include "phone/Dispatch.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace phone::scripted {

enum class AccessKind { Get, Put, Call };

// One access the window made, as the control received it. A write carries the written value
// as its one argument.
struct Access
{
    AccessKind kind;
    std::int32_t dispId;
    std::span<const Argument> arguments;
};

// The access as one line of a trace: "get ConnectionCount", "put PopUp i2:1",
// "call SendDTMF &5 \"123#\"" (& marks an argument by reference).
std::string accessLine(const Access &access);

// A stand-in control that answers what it is told to: scripted answers and failures per
// member, a failure or an action at one chosen access, and events on demand, also from inside
// an access (the control raising an event during a call). It tells a listener of every access
// before it answers, so a failing access is seen too.
class ScriptedControl : public Dispatch
{
public:
    // What every by-reference argument receives, so a test sees that the window drops it.
    static constexpr std::int32_t writtenBack = 424242;

    ScriptedControl();

    // What the member answers until told otherwise: PopUp false, the counts 0, the texts
    // empty, the other methods Empty.
    static Value initialAnswer(std::int32_t dispId);

    // From now on reads of a property, or calls of a method, answer value; ends a failure.
    void setAnswer(std::int32_t dispId, const Value &value);
    // From now on every access of the member raises an error of the control.
    void setFailing(std::int32_t dispId);
    void onAccess(std::function<void(const Access &)> listener)
    {
        m_listener = std::move(listener);
    }

    // Raises an event through the connected sink; none is raised while none is connected.
    void raiseEvent(std::string_view name, const EventArguments &arguments);
    // As a faulty control might: delivers to the last sink connected, even after it was let go.
    void raiseEventToLastSink(std::string_view name, const EventArguments &arguments);

    // Accesses (reads, writes and calls) are numbered from 0 in the order they arrive. A test
    // makes one single access fail, or acts from inside it after the listener has seen it and
    // before it answers.
    int accessCount() const { return m_accessCount; }
    void failAccess(int index) { m_failingAccess = index; }
    void duringAccess(int index, std::function<void()> action);

    int connects() const { return m_connects; }
    int disconnects() const { return m_disconnects; }
    // Accesses that arrived after the sink had been let go at least once.
    int accessesAfterDisconnect() const { return m_accessesAfterDisconnect; }

    Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const Value &value) override;
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override;
    void connectEvents(EventSink *sink) override;

private:
    // Tells the listener, counts the access, runs what a test placed inside it and raises its
    // scripted failure.
    void answerAccess(const Access &access);
    Value answerOf(std::int32_t dispId) const;

    std::map<std::int32_t, Value> m_answers;
    std::set<std::int32_t> m_failing;
    std::function<void(const Access &)> m_listener;
    EventSink *m_sink = nullptr;
    EventSink *m_lastSink = nullptr;
    int m_accessCount = 0;
    int m_failingAccess = -1;
    int m_actionAccess = -1;
    std::function<void()> m_action;
    int m_connects = 0;
    int m_disconnects = 0;
    int m_accessesAfterDisconnect = 0;
};

} // namespace phone::scripted
