#include "app/LineStore.h"

#include <algorithm>
#include <cstring>

namespace app {

LineStore::Span LineStore::span(std::size_t line) const
{
    const std::uint64_t entry = m_index[line];
    return Span{line == 0 ? 0 : m_index[line - 1] >> 1, entry >> 1, (entry & 1) != 0};
}

std::size_t LineStore::length(std::size_t line) const
{
    const Span s = span(line);
    const std::uint64_t bytes = s.end - s.begin;
    return static_cast<std::size_t>(s.wide ? bytes / 2 : bytes);
}

unsigned char *LineStore::room(std::size_t *available)
{
    const std::size_t offset = m_used % blockSize;
    const std::size_t block = m_used / blockSize;
    if (block == m_blocks.size())
        m_blocks.push_back(std::make_unique_for_overwrite<unsigned char[]>(blockSize));
    *available = blockSize - offset;
    return m_blocks[block].get() + offset;
}

void LineStore::append(std::u16string_view line)
{
    const bool wide = std::any_of(line.begin(), line.end(), [](char16_t c) { return c > 0xFF; });
    const std::uint64_t start = m_used;
    // The entry first, so that a failing allocation below leaves the store as it was.
    m_index.push_back(0);
    try {
        if (wide) {
            const auto *bytes = reinterpret_cast<const unsigned char *>(line.data());
            std::size_t left = line.size() * sizeof(char16_t);
            while (left > 0) {
                std::size_t available = 0;
                unsigned char *out = room(&available);
                const std::size_t n = std::min(left, available);
                std::memcpy(out, bytes, n);
                bytes += n;
                left -= n;
                m_used += n;
            }
        } else {
            for (std::size_t done = 0; done < line.size();) {
                std::size_t available = 0;
                unsigned char *out = room(&available);
                const std::size_t n = std::min(line.size() - done, available);
                for (std::size_t i = 0; i < n; ++i)
                    out[i] = static_cast<unsigned char>(line[done + i]);
                done += n;
                m_used += n;
            }
        }
    } catch (...) {
        m_used = start;
        m_index.pop_back();
        throw;
    }
    m_index.back() = m_used << 1 | (wide ? 1 : 0);
}

template <typename Piece>
void LineStore::forEachPiece(const Span &s, Piece piece) const
{
    for (std::uint64_t at = s.begin; at < s.end;) {
        const std::size_t offset = at % blockSize;
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(s.end - at, blockSize - offset));
        piece(m_blocks[at / blockSize].get() + offset, n);
        at += n;
    }
}

void LineStore::copy(std::size_t line, char16_t *out) const
{
    const Span s = span(line);
    if (s.wide) {
        auto *bytes = reinterpret_cast<unsigned char *>(out);
        forEachPiece(s, [&](const unsigned char *piece, std::size_t n) {
            std::memcpy(bytes, piece, n);
            bytes += n;
        });
    } else {
        forEachPiece(s, [&](const unsigned char *piece, std::size_t n) {
            out = std::copy(piece, piece + n, out);
        });
    }
}

std::u16string LineStore::at(std::size_t line) const
{
    std::u16string text(length(line), u'\0');
    copy(line, text.data());
    return text;
}

void LineStore::clear()
{
    // Swapping with fresh containers releases their storage; clear() would keep some.
    std::vector<std::unique_ptr<unsigned char[]>>().swap(m_blocks);
    std::deque<std::uint64_t>().swap(m_index);
    m_used = 0;
}

std::size_t LineStore::allocatedBytes() const
{
    return m_blocks.size() * blockSize + m_blocks.capacity() * sizeof(m_blocks[0])
           + m_index.size() * sizeof(std::uint64_t);
}

} // namespace app
