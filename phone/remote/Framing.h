#pragma once

#include "phone/remote/ByteStream.h"
#include "phone/remote/Protocol.h"

#include <optional>
#include <span>

namespace phone::remote {

// Reads one length-prefixed frame: nullopt when the stream ends before its first byte.
// Throws phone::Error (in neutral words, without naming the other end) when the stream ends
// inside the frame or the prefix announces more than maxFrameSize or nothing at all.
std::optional<Frame> readFrame(ByteStream &stream);

// The prefix and the payload in one write.
void writeFrame(ByteStream &stream, std::span<const std::byte> payload);

} // namespace phone::remote
