#pragma once

#include "phone/remote/ByteStream.h"
#include "phone/remote/FrameChannel.h"

#include <optional>
#include <string>

namespace phone::remote {

// Frames straight over a byte stream, without threads: receive() blocks in the read itself.
// What a host without a message loop serves on (and the far end of the tests).
class StreamChannel final : public FrameChannel
{
public:
    explicit StreamChannel(ByteStream &stream)
        : m_stream(stream)
    {}

    void send(std::span<const std::byte> payload) override;
    std::optional<Frame> receive() override;

private:
    void check() const;

    ByteStream &m_stream;
    std::optional<std::string> m_broken;
};

} // namespace phone::remote
