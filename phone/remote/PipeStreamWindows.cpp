#include "phone/remote/PipeStream.h"

#include "phone/Error.h"
#include "phone/remote/SystemError.h"

#include <windows.h>

#include <algorithm>
#include <mutex>

namespace phone::remote {

NativeHandle Handle::invalid()
{
    return INVALID_HANDLE_VALUE;
}

bool Handle::valid() const
{
    return m_native != INVALID_HANDLE_VALUE && m_native != nullptr;
}

void Handle::closeNative(NativeHandle native) noexcept
{
    CloseHandle(native);
}

Pipe makePipe()
{
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), nullptr, FALSE};
    if (!CreatePipe(&readEnd, &writeEnd, &attributes, 0))
        throw Error(ErrorKind::Component,
                    "Es konnte keine Pipe angelegt werden: " + lastSystemReason());
    return Pipe{Handle(readEnd), Handle(writeEnd)};
}

// Anonymous pipes know no overlapped I/O, so a blocked ReadFile or WriteFile is ended with
// CancelSynchronousIo on the thread that waits in it.
struct PipeStream::Impl
{
    // The thread doing one direction's I/O: its handle is opened once and kept, since every
    // system call counts on the bench's round trip.
    struct Waiter
    {
        HANDLE thread = nullptr;
        DWORD id = 0;
        bool busy = false;
    };

    Handle input;
    Handle output;
    std::mutex mutex;
    bool interrupted = false;
    Waiter reader;
    Waiter writer;

    ~Impl()
    {
        for (const Waiter *waiter : {&reader, &writer}) {
            if (waiter->thread)
                CloseHandle(waiter->thread);
        }
    }

    // Marks the calling thread as blocked in `waiter`'s I/O; false once interrupted.
    bool enter(Waiter &waiter)
    {
        std::lock_guard lock(mutex);
        if (interrupted)
            return false;
        const DWORD id = GetCurrentThreadId();
        if (!waiter.thread || waiter.id != id) {
            if (waiter.thread)
                CloseHandle(waiter.thread);
            waiter.thread = OpenThread(THREAD_TERMINATE, FALSE, id);
            waiter.id = id;
        }
        waiter.busy = true;
        return true;
    }
    void leave(Waiter &waiter)
    {
        std::lock_guard lock(mutex);
        waiter.busy = false;
    }

    // The calling thread marked for the span of one ReadFile or WriteFile.
    class InFlight
    {
    public:
        InFlight(Impl &impl, Waiter &waiter)
            : m_impl(impl)
            , m_waiter(waiter)
            , m_entered(impl.enter(waiter))
        {}
        ~InFlight()
        {
            if (m_entered)
                m_impl.leave(m_waiter);
        }
        InFlight(const InFlight &) = delete;
        InFlight &operator=(const InFlight &) = delete;
        bool entered() const { return m_entered; }

    private:
        Impl &m_impl;
        Waiter &m_waiter;
        bool m_entered;
    };
};

PipeStream::PipeStream(Handle input, Handle output)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->input = std::move(input);
    m_impl->output = std::move(output);
}

PipeStream::~PipeStream()
{
    interrupt();
}

std::unique_ptr<PipeStream> PipeStream::standardStreams()
{
    // Duplicates, so that closing ours leaves the process's own handles alone.
    const auto duplicate = [](DWORD which) {
        HANDLE copy = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetStdHandle(which), GetCurrentProcess(), &copy, 0,
                        FALSE, DUPLICATE_SAME_ACCESS);
        return Handle(copy);
    };
    return std::make_unique<PipeStream>(duplicate(STD_INPUT_HANDLE), duplicate(STD_OUTPUT_HANDLE));
}

std::size_t PipeStream::read(std::span<std::byte> buffer)
{
    if (buffer.empty() || !m_impl->input.valid())
        return 0;
    const Impl::InFlight flight(*m_impl, m_impl->reader);
    if (!flight.entered())
        return 0;
    DWORD got = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1 << 20));
    if (ReadFile(m_impl->input.native(), buffer.data(), wanted, &got, nullptr))
        return got;
    const DWORD error = GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_OPERATION_ABORTED)
        return 0;
    throw Error(ErrorKind::Component, "Lesen aus der Pipe: " + systemReason(error));
}

void PipeStream::write(std::span<const std::byte> bytes)
{
    if (!m_impl->output.valid())
        throw Error(ErrorKind::Component, "Schreiben in eine geschlossene Pipe");
    const Impl::InFlight flight(*m_impl, m_impl->writer);
    if (!flight.entered())
        throw Error(ErrorKind::Component, "Schreiben in die Pipe abgebrochen");
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (!WriteFile(m_impl->output.native(), bytes.data(), chunk, &written, nullptr))
            throw Error(ErrorKind::Component, "Schreiben in die Pipe: " + lastSystemReason());
        bytes = bytes.subspan(written);
    }
}

bool PipeStream::tryWrite(std::span<const std::byte>)
{
    return false; // every write goes through the thread that may block in it
}

void PipeStream::closeWrite()
{
    m_impl->output.close();
}

void PipeStream::interrupt()
{
    for (;;) {
        {
            std::lock_guard lock(m_impl->mutex);
            m_impl->interrupted = true;
            if (!m_impl->reader.busy && !m_impl->writer.busy)
                return;
            for (const Impl::Waiter *waiter : {&m_impl->reader, &m_impl->writer}) {
                if (waiter->busy)
                    CancelSynchronousIo(waiter->thread);
            }
        }
        // The thread may not have reached its ReadFile yet; try again until it has left.
        Sleep(1);
    }
}

} // namespace phone::remote
