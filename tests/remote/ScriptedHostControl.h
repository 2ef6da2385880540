#pragma once

#include "phone/Dispatch.h"
#include "phone/remote/FrameChannel.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

namespace remote_test {

// A small control for the host's side of the tests, on the host's thread:
// - properties are stored values; ConnectionCount counts Dials; reading 0x7f000001 fails
//   with Overflow;
// - Dial(number) fails without a digit ("Ungültige Rufnummer", invalidNumberCode), else raises
//   OnConnecting inside the call (calling "4711", called = the number, id = the new count);
// - AcceptCall(id) answers id * 10, plus 1 when passed by reference, and writes 999 into it;
// - SendShortMessage(number, text) answers the text;
// - HangUp(id) answers at once and raises OnDisConnected afterwards, once the host is idle
//   (fireDeferred), as a control raises events from its message loop.
class ScriptedHostControl final : public phone::Dispatch
{
public:
    // Set to true when the control is released.
    explicit ScriptedHostControl(bool *released = nullptr);
    ~ScriptedHostControl() override;

    phone::Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const phone::Value &value) override;
    phone::Value invoke(std::int32_t dispId, std::span<phone::Argument> arguments) override;
    void connectEvents(phone::EventSink *sink) override { m_sink = sink; }

    // Raises the first event put off until now, unless an event is being handled: one a turn
    // of the message loop.
    void fireDeferred();

private:
    void raise(const std::string &name, const phone::EventArguments &arguments);

    bool *m_released;
    phone::EventSink *m_sink = nullptr;
    std::map<std::int32_t, phone::Value> m_properties;
    std::deque<std::pair<std::string, phone::EventArguments>> m_deferred;
    int m_eventDepth = 0;
};

// The host's channel with the control's message loop: before waiting for the next frame, the
// control gets to raise its put-off events, when the bench has said its event loop is free.
class IdleChannel final : public phone::remote::FrameChannel
{
public:
    IdleChannel(phone::remote::FrameChannel &channel, std::function<void()> idle)
        : m_channel(channel)
        , m_idle(std::move(idle))
    {}
    void send(std::span<const std::byte> payload) override { m_channel.send(payload); }
    std::optional<phone::remote::Frame> receive() override
    {
        if (m_ownWork)
            m_idle();
        return m_channel.receive();
    }
    void allowOwnWork(bool allowed) override { m_ownWork = allowed; }

private:
    phone::remote::FrameChannel &m_channel;
    std::function<void()> m_idle;
    bool m_ownWork = false;
};

// Dispatch id that makes the scripted control fail with an overflow.
inline constexpr std::int32_t overflowingProperty = 0x7f000001;
// E_INVALIDARG, as a control's exception code.
inline constexpr std::int32_t invalidNumberCode = static_cast<std::int32_t>(0x80070057);

} // namespace remote_test
