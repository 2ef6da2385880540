#pragma once

#include "phone/remote/ByteStream.h"
#include "phone/remote/Protocol.h"

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace phone::remote {

// Reads one length-prefixed frame: nullopt when the stream ends before its first byte.
// Throws phone::Error (in neutral words, without naming the other end) when the stream ends
// inside the frame or the prefix announces more than maxFrameSize or nothing at all.
std::optional<Frame> readFrame(ByteStream &stream);

// Reads its stream in large pieces, so that a frame's prefix and payload, and frames that come
// together, cost one read of the stream between them instead of one or two each. Writing and
// the rest pass straight through.
class BufferedReader final : public ByteStream
{
public:
    explicit BufferedReader(ByteStream &stream);

    std::size_t read(std::span<std::byte> buffer) override;
    void write(std::span<const std::byte> bytes) override { m_stream.write(bytes); }
    void closeWrite() override { m_stream.closeWrite(); }
    void interrupt() override { m_stream.interrupt(); }

private:
    ByteStream &m_stream;
    std::vector<std::byte> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

// The length prefix and the payload, as they go on the stream.
Frame framed(std::span<const std::byte> payload);
// The prefix and the payload in one write.
void writeFrame(ByteStream &stream, std::span<const std::byte> payload);

} // namespace phone::remote
