#pragma once

#include "phone/Contract.h"
#include "phone/Value.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace phone {

// One argument of a late-bound call. A by-reference argument is the caller's own copy:
// the control may write into it, and the caller discards what it wrote.
struct Argument
{
    Value value;
    bool byRef = false;
};

// The three arguments every call event carries, as the control passed them (by reference;
// the window only reads them).
struct EventArguments
{
    Value callingNumber;
    Value calledMSN;
    Value callID;
};

// Receives the control's events by name, on the window's thread.
class EventSink
{
public:
    virtual ~EventSink() = default;
    virtual void controlEvent(std::string_view name, const EventArguments &arguments) = 0;
};

// The late-bound boundary to the control: every access names a member by its dispatch
// identifier and passes automation values. Failures are thrown as phone::Error; an error
// raised by the control itself is ErrorKind::Component with the control's description.
class Dispatch
{
public:
    virtual ~Dispatch() = default;

    virtual Value getProperty(std::int32_t dispId) = 0;
    virtual void putProperty(std::int32_t dispId, const Value &value) = 0;
    // Arguments in call order. Returns the method's result, or Empty for none.
    virtual Value invoke(std::int32_t dispId, std::span<Argument> arguments) = 0;

    // Connects the window's sink (nullptr disconnects). The control delivers no event
    // once the sink is disconnected.
    virtual void connectEvents(EventSink *sink) = 0;

    // What the control's type information declares, for a control that has any.
    virtual std::optional<contract::Description> typeDescription() const { return std::nullopt; }
};

} // namespace phone
