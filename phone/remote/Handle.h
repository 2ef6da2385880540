#pragma once

namespace phone::remote {

#ifdef _WIN32
using NativeHandle = void *; // HANDLE
#else
using NativeHandle = int; // file descriptor
#endif

// An owned pipe end or socket, closed when it goes.
class Handle
{
public:
    Handle() = default;
    explicit Handle(NativeHandle native)
        : m_native(native)
    {}
    ~Handle() { close(); }
    Handle(Handle &&other) noexcept
        : m_native(other.release())
    {}
    Handle &operator=(Handle &&other) noexcept;
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;

    bool valid() const;
    NativeHandle native() const { return m_native; }
    NativeHandle release();
    void close() noexcept;

private:
    // The platform's half (PipeStreamPosix.cpp, PipeStreamWindows.cpp).
    static NativeHandle invalid();
    static void closeNative(NativeHandle native) noexcept;

    NativeHandle m_native = invalid();
};

// Both ends of a new anonymous pipe, neither inherited by child processes.
struct Pipe
{
    Handle readEnd;
    Handle writeEnd;
};
Pipe makePipe();

} // namespace phone::remote
