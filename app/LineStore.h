#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// Append-only storage for a great many lines of UTF-16 text at about one byte a character.
// A line whose characters all fit in one byte (ASCII, umlauts) is kept one byte a character,
// any other line as UTF-16, so every line comes back exactly as it went in, lone surrogates
// and NULs included. The bytes fill fixed blocks one after the other, so appending never moves
// what is already stored, and each line costs one 8-byte index entry on top of its text.
class LineStore
{
public:
    void append(std::u16string_view line);
    // Frees every block, not just the lines.
    void clear();

    std::size_t size() const { return m_index.size(); }
    std::size_t length(std::size_t line) const;
    // Writes the line's length() characters to out.
    void copy(std::size_t line, char16_t *out) const;
    std::u16string at(std::size_t line) const;

    // Bytes taken from the heap for text blocks and index, roughly.
    std::size_t allocatedBytes() const;

    static constexpr std::size_t blockSize = 64 * 1024;

private:
    struct Span
    {
        std::uint64_t begin;
        std::uint64_t end;
        bool wide;
    };
    Span span(std::size_t line) const;
    unsigned char *room(std::size_t *available);
    template <typename Piece>
    void forEachPiece(const Span &span, Piece piece) const;

    std::vector<std::unique_ptr<unsigned char[]>> m_blocks;
    // Per line: the offset just past its bytes, shifted left once; the low bit marks UTF-16.
    // A line starts where the one before it ends.
    std::deque<std::uint64_t> m_index;
    std::uint64_t m_used = 0; // bytes written to the blocks
};

} // namespace app
