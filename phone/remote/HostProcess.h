#pragma once

#include "phone/remote/ChildProcess.h"
#include "phone/remote/FrameChannel.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace phone::remote {

class PipeStream;
class WatchedChannel;

struct HostCommand
{
    // The program first, then its arguments (UTF-8), e.g. {"/usr/lib/wine/wine64",
    // "tervani-host.exe"}.
    std::vector<std::string> arguments;
    Environment environment;
    // How long the bench waits for any frame before it takes the host for hung.
    std::chrono::milliseconds timeout{std::chrono::seconds(30)};
    // How long the host may take to end by itself once told to, before it is killed.
    std::chrono::milliseconds closeGrace{std::chrono::seconds(2)};
};

// The control host as a child process serving frames on its standard input and output.
class HostProcess
{
public:
    // Starts the host. Throws phone::Error (ErrorKind::Component) when it cannot be started.
    explicit HostProcess(const HostCommand &command);
    // Says Close, gives the host a moment to end by itself, then kills and reaps it.
    ~HostProcess();
    HostProcess(const HostProcess &) = delete;
    HostProcess &operator=(const HostProcess &) = delete;

    ReadAheadChannel &channel();

private:
    std::chrono::milliseconds m_closeGrace;
    std::unique_ptr<ChildProcess> m_child;
    std::unique_ptr<PipeStream> m_stream;
    std::unique_ptr<WatchedChannel> m_channel;
};

} // namespace phone::remote
