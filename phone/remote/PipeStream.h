#pragma once

#include "phone/remote/ByteStream.h"
#include "phone/remote/Handle.h"

#include <memory>

namespace phone::remote {

// A byte stream over two handles: one read from, one written to (the two ends facing a
// child process, a socket given twice, or this process's standard input and output).
class PipeStream final : public ByteStream
{
public:
    PipeStream(Handle input, Handle output);
    ~PipeStream() override;
    PipeStream(const PipeStream &) = delete;
    PipeStream &operator=(const PipeStream &) = delete;

    // This process's standard input and output, which a host serves the bench on.
    static std::unique_ptr<PipeStream> standardStreams();

    std::size_t read(std::span<std::byte> buffer) override;
    void write(std::span<const std::byte> bytes) override;
    // On POSIX a pipe takes up to PIPE_BUF bytes at once whenever it polls writable.
    bool tryWrite(std::span<const std::byte> bytes) override;
    void closeWrite() override;
    void interrupt() override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace phone::remote
