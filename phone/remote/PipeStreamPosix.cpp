#include "phone/remote/PipeStream.h"

#include "phone/Error.h"
#include "phone/remote/SystemError.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace phone::remote {

NativeHandle Handle::invalid()
{
    return -1;
}

bool Handle::valid() const
{
    return m_native >= 0;
}

void Handle::closeNative(NativeHandle native) noexcept
{
    ::close(native);
}

Pipe makePipe()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw Error(ErrorKind::Component,
                    "Es konnte keine Pipe angelegt werden: " + lastSystemReason());
    return Pipe{Handle(ends[0]), Handle(ends[1])};
}

namespace {

// A write into a pipe whose reader is gone raises SIGPIPE, which would end the whole
// program. It is kept blocked for this thread during the write, and one raised by it is
// taken back, so the failure is only EPIPE.
class SigpipeBlocked
{
public:
    SigpipeBlocked()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
    }
    ~SigpipeBlocked()
    {
        if (m_raised) {
            const timespec none{};
            while (sigtimedwait(&m_pipe, nullptr, &none) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigpipeBlocked(const SigpipeBlocked &) = delete;
    SigpipeBlocked &operator=(const SigpipeBlocked &) = delete;

    void raised() { m_raised = true; }

private:
    sigset_t m_pipe{};
    sigset_t m_previous{};
    bool m_raised = false;
};

} // namespace

struct PipeStream::Impl
{
    Handle input;
    Handle output;
    // Interrupting closes the wake pipe's writing end; its reading end then polls as hung up
    // for good, waking every blocked and later poll.
    Handle wakeRead;
    std::atomic<int> wakeWrite{-1};

    // True when `fd` is ready for `events`, false once interrupted.
    bool wait(int fd, short events)
    {
        pollfd fds[2] = {{fd, events, 0}, {wakeRead.native(), POLLIN, 0}};
        for (;;) {
            const int ready = ::poll(fds, 2, -1);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready < 0)
                throw Error(ErrorKind::Component, "Warten auf die Pipe: " + lastSystemReason());
            if (fds[1].revents != 0)
                return false;
            if (fds[0].revents != 0)
                return true;
        }
    }
};

PipeStream::PipeStream(Handle input, Handle output)
    : m_impl(std::make_unique<Impl>())
{
    Pipe wake = makePipe();
    m_impl->input = std::move(input);
    m_impl->output = std::move(output);
    m_impl->wakeRead = std::move(wake.readEnd);
    m_impl->wakeWrite = wake.writeEnd.release();
}

PipeStream::~PipeStream()
{
    interrupt();
}

std::unique_ptr<PipeStream> PipeStream::standardStreams()
{
    return std::make_unique<PipeStream>(Handle(STDIN_FILENO), Handle(STDOUT_FILENO));
}

std::size_t PipeStream::read(std::span<std::byte> buffer)
{
    if (buffer.empty() || !m_impl->input.valid())
        return 0;
    for (;;) {
        if (!m_impl->wait(m_impl->input.native(), POLLIN))
            return 0;
        const ssize_t got = ::read(m_impl->input.native(), buffer.data(), buffer.size());
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR && errno != EAGAIN)
            throw Error(ErrorKind::Component, "Lesen aus der Pipe: " + lastSystemReason());
    }
}

void PipeStream::write(std::span<const std::byte> bytes)
{
    if (!m_impl->output.valid())
        throw Error(ErrorKind::Component, "Schreiben in eine geschlossene Pipe");
    SigpipeBlocked guard;
    while (!bytes.empty()) {
        if (!m_impl->wait(m_impl->output.native(), POLLOUT))
            throw Error(ErrorKind::Component, "Schreiben in die Pipe abgebrochen");
        // A pipe that polls writable takes PIPE_BUF bytes without blocking, so an interrupt
        // is never stuck behind a write.
        const std::size_t chunk = std::min<std::size_t>(bytes.size(), PIPE_BUF);
        const ssize_t written = ::write(m_impl->output.native(), bytes.data(), chunk);
        if (written >= 0) {
            bytes = bytes.subspan(static_cast<std::size_t>(written));
            continue;
        }
        const int error = errno;
        if (error == EINTR || error == EAGAIN)
            continue;
        if (error == EPIPE)
            guard.raised();
        throw Error(ErrorKind::Component, "Schreiben in die Pipe: " + systemReason(error));
    }
}

bool PipeStream::tryWrite(std::span<const std::byte> bytes)
{
    if (bytes.size() > PIPE_BUF || !m_impl->output.valid())
        return false;
    pollfd fd{m_impl->output.native(), POLLOUT, 0};
    if (::poll(&fd, 1, 0) != 1 || !(fd.revents & POLLOUT))
        return false;
    write(bytes);
    return true;
}

void PipeStream::closeWrite()
{
    m_impl->output.close();
}

void PipeStream::interrupt()
{
    const int wake = m_impl->wakeWrite.exchange(-1);
    if (wake >= 0)
        ::close(wake);
}

} // namespace phone::remote
