#pragma once

#include "phone/Dispatch.h"
#include "phone/Error.h"
#include "phone/Value.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

// The messages between the bench and its control host, and their bytes (docs/host-protocol.md).
namespace phone::remote {

inline constexpr std::uint32_t protocolVersion = 4;

// Bounds that keep a corrupt or hostile peer from making either end allocate without limit.
inline constexpr std::size_t maxFrameSize = 64 * 1024 * 1024;
inline constexpr std::size_t maxArguments = 64;
inline constexpr std::size_t maxEventNameSize = 1024;

// The answer to Create carries this request id; Invoke ids start above it.
inline constexpr std::uint32_t createRequestId = 0;

enum class InvokeKind : std::uint8_t { Get = 1, Put = 2, Call = 3 };

// Bench to host.
struct Hello
{
    std::uint32_t version = protocolVersion;
};
struct Create
{
    std::u16string progId;
};
struct Invoke
{
    std::uint32_t requestId = 0;
    std::int32_t dispId = 0;
    InvokeKind kind = InvokeKind::Call;
    // Get: none. Put: exactly one, by value. Call: the method's arguments in call order.
    std::vector<Argument> arguments;
};
struct EventDone
{
    std::uint32_t eventId = 0;
};
struct Close
{
};
// The bench's event loop is free (no handler runs, or one waits in a box): the host may run
// the control's window messages and timers until the bench's next message.
struct Idle
{
};

// Host to bench (the host answers Hello with its own Hello).
struct Result
{
    std::uint32_t requestId = 0;
    Value value;
};
struct Failure
{
    std::uint32_t requestId = 0;
    ErrorKind kind = ErrorKind::Component;
    std::string description;                         // UTF-8
    std::optional<std::int32_t> code = std::nullopt; // the control's own error number, if given
};
// The request id is 0 for none: the control raised it from its own messages or timers.
inline constexpr std::uint32_t notInsideRequest = 0;

struct Event
{
    std::uint32_t eventId = 0;
    std::uint32_t insideRequest = notInsideRequest; // the Invoke the control raised it inside
    std::string name;                               // UTF-8
    EventArguments arguments;
};

using Message = std::variant<Hello, Create, Invoke, EventDone, Close, Idle, Result, Failure, Event>;

// One frame's payload, without its length prefix.
using Frame = std::vector<std::byte>;

// The payload for a message. Descriptions and names that are not valid UTF-8 are repaired
// (U+FFFD for each bad sequence), so whatever is encoded decodes again.
Frame encode(const Message &message);

// Reads a payload strictly: any deviation from the layout throws phone::Error
// (ErrorKind::Component) with a German description of what was wrong.
Message decode(std::span<const std::byte> payload);

// A readable name for a message type, for error texts ("Result", "Event", ...).
const char *messageName(const Message &message);

} // namespace phone::remote
