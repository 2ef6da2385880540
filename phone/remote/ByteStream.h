#pragma once

#include <cstddef>
#include <span>

namespace phone::remote {

// A byte stream in both directions: a child's standard input and output, or a socket.
class ByteStream
{
public:
    virtual ~ByteStream() = default;

    // Blocks until some bytes come; 0 at the end of the stream or once interrupted. Throws
    // phone::Error with the system's reason when reading fails.
    virtual std::size_t read(std::span<std::byte> buffer) = 0;
    // Writes everything or throws phone::Error; a closed reading end is an error, never a
    // signal.
    virtual void write(std::span<const std::byte> bytes) = 0;
    // Writes all of bytes if the stream takes them at once, without waiting; otherwise writes
    // nothing and answers false. Throws as write() does.
    virtual bool tryWrite(std::span<const std::byte>) { return false; }
    // Ends our direction: the other end reads the end of the stream.
    virtual void closeWrite() = 0;
    // Makes a read or write blocked in another thread return (read: 0; write: throws), and
    // all later ones. Safe from any thread.
    virtual void interrupt() = 0;
};

} // namespace phone::remote
