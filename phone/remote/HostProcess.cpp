#include "phone/remote/HostProcess.h"

#include "phone/Error.h"
#include "phone/remote/PipeStream.h"
#include "phone/remote/Protocol.h"
#include "phone/remote/WatchedChannel.h"

namespace phone::remote {

namespace {

// How long the last frames may take to go out to a host that still reads.
constexpr std::chrono::milliseconds flushLimit{500};

} // namespace

HostProcess::HostProcess(const HostCommand &command)
    : m_closeGrace(command.closeGrace)
{
    Pipe toHost;
    Pipe fromHost;
    try {
        toHost = makePipe();
        fromHost = makePipe();
    } catch (const Error &error) {
        throw Error(ErrorKind::Component, startFailure(command.arguments, error.description()));
    }
    m_child =
        std::make_unique<ChildProcess>(command.arguments, command.environment,
                                       std::move(toHost.readEnd), std::move(fromHost.writeEnd));
    m_stream =
        std::make_unique<PipeStream>(std::move(fromHost.readEnd), std::move(toHost.writeEnd));
    m_channel = std::make_unique<WatchedChannel>(*m_stream, command.timeout);
}

HostProcess::~HostProcess()
{
    try {
        m_channel->send(encode(Close{}));
    } catch (const Error &) {
        // A broken channel: the host is past listening, and is killed below.
    }
    m_channel->finish(flushLimit);
    if (!m_child->waitFor(m_closeGrace))
        m_child->kill();
}

ReadAheadChannel &HostProcess::channel()
{
    return *m_channel;
}

} // namespace phone::remote
