#include "phone/remote/Framing.h"

#include "phone/Error.h"

#include <algorithm>
#include <array>
#include <string>

namespace phone::remote {

namespace {

// False when the stream ended before the first byte; throws when it ended later.
bool readExactly(ByteStream &stream, std::span<std::byte> buffer)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const std::size_t got = stream.read(buffer.subspan(done));
        if (got == 0) {
            if (done == 0)
                return false;
            throw Error(ErrorKind::Component, "Datenstrom endet mitten im Rahmen");
        }
        done += got;
    }
    return true;
}

} // namespace

BufferedReader::BufferedReader(ByteStream &stream)
    : m_stream(stream)
    , m_buffer(64 * 1024)
{}

std::size_t BufferedReader::read(std::span<std::byte> buffer)
{
    if (buffer.empty())
        return 0;
    if (m_begin == m_end) {
        m_begin = 0;
        m_end = m_stream.read(m_buffer);
        if (m_end == 0)
            return 0;
    }
    const std::size_t count = std::min(buffer.size(), m_end - m_begin);
    std::copy_n(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_begin), count, buffer.begin());
    m_begin += count;
    return count;
}

std::optional<Frame> readFrame(ByteStream &stream)
{
    std::array<std::byte, 4> prefix{};
    if (!readExactly(stream, prefix))
        return std::nullopt;
    std::uint32_t size = 0;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        size |= static_cast<std::uint32_t>(prefix[i]) << (8 * i);
    if (size == 0)
        throw Error(ErrorKind::Component, "Rahmen ohne Inhalt");
    if (size > maxFrameSize)
        throw Error(ErrorKind::Component, "Rahmen zu groß (" + std::to_string(size)
                                              + " Bytes, höchstens " + std::to_string(maxFrameSize)
                                              + ")");
    // Grown as the bytes come, so a length prefix alone commits no memory.
    Frame frame;
    frame.reserve(std::min<std::size_t>(size, 64 * 1024));
    std::array<std::byte, 16 * 1024> buffer{};
    while (frame.size() < size) {
        const std::size_t wanted = std::min<std::size_t>(buffer.size(), size - frame.size());
        const std::size_t got = stream.read(std::span(buffer).first(wanted));
        if (got == 0)
            throw Error(ErrorKind::Component, "Datenstrom endet mitten im Rahmen");
        frame.insert(frame.end(), buffer.begin(),
                     buffer.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return frame;
}

Frame framed(std::span<const std::byte> payload)
{
    if (payload.empty() || payload.size() > maxFrameSize)
        throw Error(ErrorKind::Component,
                    "Rahmen mit unzulässiger Länge " + std::to_string(payload.size()));
    Frame bytes;
    bytes.reserve(4 + payload.size());
    const auto size = static_cast<std::uint32_t>(payload.size());
    for (std::size_t i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::byte>((size >> (8 * i)) & 0xff));
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

void writeFrame(ByteStream &stream, std::span<const std::byte> payload)
{
    stream.write(framed(payload));
}

} // namespace phone::remote
