#pragma once

#include "phone/remote/ByteStream.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

namespace testsupport {

// A stream that hands out its bytes at most `chunk` at a time, as a pipe may, and keeps what
// is written to it.
class ChunkedByteStream final : public phone::remote::ByteStream
{
public:
    ChunkedByteStream(std::span<const std::byte> bytes, std::size_t chunk)
        : m_bytes(bytes.begin(), bytes.end())
        , m_chunk(chunk)
    {}

    std::size_t read(std::span<std::byte> buffer) override
    {
        ++reads;
        const std::size_t size = std::min({buffer.size(), m_chunk, m_bytes.size() - m_at});
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at), size, buffer.begin());
        m_at += size;
        return size;
    }
    void write(std::span<const std::byte> bytes) override
    {
        written.insert(written.end(), bytes.begin(), bytes.end());
    }
    void closeWrite() override {}
    void interrupt() override {}

    std::vector<std::byte> written;
    int reads = 0;

private:
    std::vector<std::byte> m_bytes;
    std::size_t m_chunk;
    std::size_t m_at = 0;
};

} // namespace testsupport
