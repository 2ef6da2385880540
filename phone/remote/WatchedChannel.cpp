#include "phone/remote/WatchedChannel.h"

#include "phone/Error.h"
#include "phone/remote/Framing.h"

#include <algorithm>
#include <utility>

namespace phone::remote {

namespace {

const std::string unreadable = "Der Steuerelement-Host hat unlesbare Daten gesendet: ";
const std::string disturbed = "Die Verbindung zum Steuerelement-Host ist gestört: ";
constexpr std::chrono::microseconds spinBeforeSleep{100};
// How long a failed write waits for the reader to tell why.
constexpr std::chrono::milliseconds writerGrace{1000};

// Tells a failing read of the stream from a frame that makes no sense.
class MarkedStream final : public ByteStream
{
public:
    explicit MarkedStream(ByteStream &stream)
        : m_stream(stream)
    {}
    std::size_t read(std::span<std::byte> buffer) override
    {
        try {
            return m_stream.read(buffer);
        } catch (const Error &) {
            m_failed = true;
            throw;
        }
    }
    void write(std::span<const std::byte> bytes) override { m_stream.write(bytes); }
    void closeWrite() override { m_stream.closeWrite(); }
    void interrupt() override { m_stream.interrupt(); }
    bool failed() const { return m_failed; }

private:
    ByteStream &m_stream;
    bool m_failed = false;
};

} // namespace

std::string secondsText(std::chrono::milliseconds duration)
{
    const long long ms = duration.count();
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
        while (fraction.back() == '0')
            fraction.pop_back();
        text += "," + fraction;
    }
    return text + " s";
}

WatchedChannel::WatchedChannel(ByteStream &stream, std::chrono::milliseconds timeout)
    : m_stream(stream)
    , m_timeout(timeout)
{
    m_reader = std::thread([this] { readLoop(); });
    m_writer = std::thread([this] { writeLoop(); });
}

WatchedChannel::~WatchedChannel()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_toWrite.notify_all();
    m_stream.interrupt();
    m_reader.join();
    m_writer.join();
}

void WatchedChannel::readLoop()
{
    MarkedStream marked(m_stream);
    BufferedReader stream(marked);
    for (;;) {
        std::optional<Frame> frame;
        std::optional<std::string> failure;
        try {
            frame = readFrame(stream);
        } catch (const Error &error) {
            failure = (marked.failed() ? disturbed : unreadable) + error.description();
        }
        {
            std::lock_guard lock(m_mutex);
            if (frame)
                m_incoming.push_back(std::move(*frame));
            else if (failure)
                m_readFailure = std::move(failure);
            else
                m_ended = true;
        }
        m_news.fetch_add(1);
        m_changed.notify_all();
        arrived();
        if (!frame)
            return;
    }
}

// Runs one write with the lock let go, marked as on its way so that nothing overtakes it. A
// failure becomes the channel's, which receive() reports; false then.
template <typename Write>
bool WatchedChannel::writeUnlocked(std::unique_lock<std::mutex> &lock, Write write)
{
    m_writing = true;
    lock.unlock();
    std::optional<std::string> failure;
    try {
        write();
    } catch (const Error &error) {
        failure = disturbed + error.description();
    }
    lock.lock();
    m_writing = false;
    if (!failure)
        return true;
    m_writeFailure = std::move(failure);
    m_outgoing.clear();
    return false;
}

void WatchedChannel::writeLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_toWrite.wait(lock, [this] {
            return m_stopping || (!m_writing && (m_finishing || !m_outgoing.empty()));
        });
        if (m_stopping)
            break;
        if (m_outgoing.empty()) {
            // Finishing with everything sent: the host reads the end of its input.
            lock.unlock();
            m_stream.closeWrite();
            lock.lock();
            break;
        }
        Frame frame = std::move(m_outgoing.front());
        m_outgoing.pop_front();
        if (!writeUnlocked(lock, [&] { writeFrame(m_stream, frame); }))
            break;
    }
    m_writerDone = true;
    lock.unlock();
    m_changed.notify_all();
}

void WatchedChannel::arrived()
{
    std::lock_guard lock(m_handlerMutex);
    if (m_handler)
        m_handler();
}

std::optional<std::string> WatchedChannel::brokenLocked() const
{
    if (m_timedOut)
        return m_timedOut;
    if (m_readFailure)
        return m_readFailure;
    return m_writeFailure;
}

void WatchedChannel::send(std::span<const std::byte> payload)
{
    std::unique_lock lock(m_mutex);
    if (const auto broken = brokenLocked())
        throw Error(ErrorKind::Component, *broken);
    if (m_finishing || m_writerDone)
        throw Error(ErrorKind::Component, disturbed + "die Verbindung ist geschlossen");
    if (m_outgoing.empty() && !m_writing && sendAtOnce(lock, payload))
        return;
    m_outgoing.emplace_back(payload.begin(), payload.end());
    lock.unlock();
    m_toWrite.notify_one();
}

// Handing a frame to the writer costs a thread switch on every call, so one the stream takes
// without waiting goes in from here, while nothing else is on its way.
bool WatchedChannel::sendAtOnce(std::unique_lock<std::mutex> &lock,
                                std::span<const std::byte> payload)
{
    bool sent = false;
    if (!writeUnlocked(lock, [&] { sent = m_stream.tryWrite(framed(payload)); })) {
        m_changed.notify_all();
        sent = true; // failed for good: nothing is queued behind it
    }
    // The writer sleeps through a write from here unless something came to it meanwhile.
    if (!m_outgoing.empty() || m_finishing)
        m_toWrite.notify_one();
    return sent;
}

// An answer usually comes within a few dozen microseconds, sooner than this thread would be
// woken from a wait, so it looks a moment before it sleeps; it yields while it looks, so the
// reading thread gets a processor.
void WatchedChannel::awaitNews() const
{
    const unsigned seen = m_news.load();
    {
        std::lock_guard lock(m_mutex);
        if (!m_incoming.empty())
            return;
    }
    const auto until = std::chrono::steady_clock::now() + spinBeforeSleep;
    while (m_news.load() == seen && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
}

std::optional<Frame> WatchedChannel::receive()
{
    awaitNews();
    std::unique_lock lock(m_mutex);
    const auto ready = [this] {
        return !m_incoming.empty() || m_ended || m_readFailure || m_writeFailure || m_timedOut;
    };
    if (!m_changed.wait_for(lock, m_timeout, ready))
        m_timedOut = "Der Steuerelement-Host antwortet nicht (" + secondsText(m_timeout) + ").";
    if (m_timedOut)
        throw Error(ErrorKind::Component, *m_timedOut);
    const auto readerKnows = [this] {
        return !m_incoming.empty() || m_ended || m_readFailure;
    };
    // A host that has ended breaks the pipe under the writer, often before the reader has come
    // to the end of its output: the reader says what happened, if it can within a moment.
    if (!readerKnows())
        m_changed.wait_for(lock, std::min<std::chrono::milliseconds>(m_timeout, writerGrace),
                           readerKnows);
    if (!m_incoming.empty()) {
        Frame frame = std::move(m_incoming.front());
        m_incoming.pop_front();
        return frame;
    }
    if (m_readFailure)
        throw Error(ErrorKind::Component, *m_readFailure);
    if (m_ended)
        return std::nullopt;
    throw Error(ErrorKind::Component, *m_writeFailure);
}

std::optional<Frame> WatchedChannel::poll()
{
    std::lock_guard lock(m_mutex);
    if (m_timedOut || m_incoming.empty())
        return std::nullopt;
    Frame frame = std::move(m_incoming.front());
    m_incoming.pop_front();
    return frame;
}

bool WatchedChannel::drained() const
{
    std::lock_guard lock(m_mutex);
    return m_incoming.empty() && (m_ended || m_readFailure);
}

void WatchedChannel::onArrival(std::function<void()> handler)
{
    std::lock_guard lock(m_handlerMutex);
    m_handler = std::move(handler);
}

void WatchedChannel::finish(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    m_finishing = true;
    m_toWrite.notify_all();
    m_changed.wait_for(lock, limit, [this] { return m_writerDone; });
}

} // namespace phone::remote
