#pragma once

#include "phone/Dispatch.h"
#include "phone/remote/FrameChannel.h"
#include "phone/remote/Protocol.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace phone::remote {

// The host's end: creates the control the bench names, serves its Invokes on it and passes
// its events on. While an event is out, it serves the Invokes the bench's handler makes
// until that event is acknowledged, so calls nest the way they do in the control's apartment.
// Each event names the request the control raised it inside, or none when the control raised
// it from its own messages or timers, which the channel runs only while the bench has said
// its event loop is free (Idle) and has sent nothing since, as the window's thread would.
class HostServer final : private EventSink
{
public:
    using Factory = std::function<std::unique_ptr<Dispatch>(std::u16string_view progId)>;

    HostServer(FrameChannel &channel, Factory factory);
    ~HostServer() override;
    HostServer(const HostServer &) = delete;
    HostServer &operator=(const HostServer &) = delete;

    // Serves until Close or the end of the stream, then releases the control. Throws
    // phone::Error, after releasing it, when the channel fails or the bench breaks the
    // protocol.
    void run();

private:
    void controlEvent(std::string_view name, const EventArguments &arguments) override;
    void serveNext();
    void serve(Message message);
    void hello(const Hello &hello);
    void create(const Create &create);
    void invoke(Invoke &invoke);
    void acknowledge(const EventDone &done);
    // What the control's code runs inside while `access` runs: a request, or none.
    template <typename Access>
    auto inside(std::uint32_t requestId, Access access);
    void send(const Message &message);
    void release() noexcept;

    FrameChannel &m_channel;
    Factory m_factory;
    std::unique_ptr<Dispatch> m_control;
    bool m_over = false;
    std::exception_ptr m_failure; // from inside an event, which must not throw into the control
    std::uint32_t m_nextEvent = 1;
    std::vector<std::uint32_t> m_unacknowledged;
    // Innermost last: the request being served, or notInsideRequest while waiting for a frame.
    std::vector<std::uint32_t> m_inside;
};

} // namespace phone::remote
