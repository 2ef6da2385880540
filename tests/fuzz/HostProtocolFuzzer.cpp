// libFuzzer target for what the control host sends the bench.
//
// The first byte chooses what the rest is:
//   even  one frame's payload for the decoder
//   odd   a byte stream from the host: length-prefixed frames, as the bench's channel reads
//         them, handed to a RemoteControl that makes a fixed round of accesses (with an event
//         handler that makes nested ones) and then drains what is left
//
// Besides surviving, each input must keep these promises:
// - decoding either gives a message or throws phone::Error, nothing else;
// - the layout is canonical: a payload that decodes encodes back to the very same bytes;
// - the framing reads frames or throws phone::Error;
// - the bench's end throws nothing but phone::Error, and once it has thrown an error of its
//   own (not one the control raised through the host), every later access throws the same.
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/remote/Framing.h"
#include "phone/remote/Protocol.h"
#include "phone/remote/RemoteControl.h"
#include "tests/support/ChunkedByteStream.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

using namespace phone::remote;

namespace {

[[noreturn]] void broken(const char *promise)
{
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

void checkPayload(std::span<const std::byte> payload)
{
    std::optional<Message> message;
    try {
        message = decode(payload);
    } catch (const phone::Error &) {
        return;
    }
    const Frame again = encode(*message);
    if (!std::equal(again.begin(), again.end(), payload.begin(), payload.end()))
        broken("a decoded payload encodes back to the same bytes");
}

// The host's frames, all there at once; then the end of the stream, or the framing's error.
class ScriptedChannel final : public ReadAheadChannel
{
public:
    explicit ScriptedChannel(std::span<const std::byte> stream)
    {
        // Small pieces, as a pipe may hand them out.
        testsupport::ChunkedByteStream bytes(stream, 7);
        try {
            while (std::optional<Frame> frame = readFrame(bytes))
                m_frames.push_back(std::move(*frame));
        } catch (const phone::Error &error) {
            m_failure = error.description();
        }
    }
    void send(std::span<const std::byte> payload) override
    {
        // What the bench sends must always be valid.
        try {
            decode(payload);
        } catch (const phone::Error &) {
            broken("the bench sends only messages it can decode itself");
        }
    }
    std::optional<Frame> receive() override
    {
        if (!m_frames.empty())
            return take();
        if (m_failure)
            throw phone::Error(phone::ErrorKind::Component, *m_failure);
        return std::nullopt;
    }
    std::optional<Frame> poll() override
    {
        if (m_frames.empty())
            return std::nullopt;
        return take();
    }
    void onArrival(std::function<void()>) override {}

private:
    Frame take()
    {
        Frame frame = std::move(m_frames.front());
        m_frames.pop_front();
        return frame;
    }

    std::deque<Frame> m_frames;
    std::optional<std::string> m_failure;
};

class Session
{
public:
    explicit Session(RemoteControl &control)
        : m_control(control)
    {}

    template <typename F>
    void access(F f)
    {
        const bool wasBroken = m_control.broken();
        try {
            f();
        } catch (const phone::Error &error) {
            // It may have broken between accesses, in a posted delivery: then the first
            // access tells why.
            if (m_control.broken() && !m_reason)
                m_reason = error.description();
            if (wasBroken && error.description() != *m_reason)
                broken("a broken bench fails every access the same way");
            return;
        }
        if (wasBroken)
            broken("a broken bench fails every access");
    }

private:
    RemoteControl &m_control;
    std::optional<std::string> m_reason;
};

class NestingSink final : public phone::EventSink
{
public:
    explicit NestingSink(RemoteControl &control)
        : m_control(control)
    {}
    void controlEvent(std::string_view, const phone::EventArguments &) override
    {
        if (++m_depth < 4)
            m_control.getProperty(phone::dispid::ConnectionCount);
        --m_depth;
    }

private:
    RemoteControl &m_control;
    int m_depth = 0;
};

void checkSession(std::span<const std::byte> stream)
{
    ScriptedChannel channel(stream);
    std::optional<RemoteControl> control;
    try {
        control.emplace(channel, u"Fuzz.Control");
    } catch (const phone::Error &) {
        return;
    }
    NestingSink sink(*control);
    control->connectEvents(&sink);
    Session session(*control);
    std::vector<phone::Argument> arguments{{std::u16string(u"0171"), false},
                                           {std::int32_t{1}, true}};
    for (int round = 0; round < 3; ++round) {
        session.access([&] { control->getProperty(phone::dispid::LatestText); });
        session.access([&] { control->putProperty(phone::dispid::PopUp, true); });
        session.access([&] { control->invoke(phone::dispid::Dial, arguments); });
        control->deliverPending();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::span<const std::byte> rest(reinterpret_cast<const std::byte *>(data) + 1, size - 1);
    if (data[0] % 2 == 0)
        checkPayload(rest);
    else
        checkSession(rest);
    return 0;
}
