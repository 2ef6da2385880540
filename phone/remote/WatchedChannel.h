#pragma once

#include "phone/remote/ByteStream.h"
#include "phone/remote/FrameChannel.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace phone::remote {

// The bench's channel to its control host. A reading thread queues every frame as it comes,
// so there is exactly one reader of the stream; a writing thread sends, so a host that stops
// reading can never block the bench. receive() waits at most the watchdog time for the next
// frame. Its errors are ErrorKind::Component with German texts naming the host, final as they
// stand.
class WatchedChannel final : public ReadAheadChannel
{
public:
    WatchedChannel(ByteStream &stream, std::chrono::milliseconds timeout);
    // Interrupts the stream and joins both threads; frames still queued are dropped.
    ~WatchedChannel() override;
    WatchedChannel(const WatchedChannel &) = delete;
    WatchedChannel &operator=(const WatchedChannel &) = delete;

    // Queues the frame for the writing thread; throws when the channel is already broken.
    void send(std::span<const std::byte> payload) override;
    std::optional<Frame> receive() override;
    std::optional<Frame> poll() override;
    void onArrival(std::function<void()> handler) override;
    bool drained() const override;

    // Lets the writing thread send what is queued and then end our direction, waiting at most
    // `limit` for it. Nothing can be sent afterwards.
    void finish(std::chrono::milliseconds limit);

    std::chrono::milliseconds timeout() const { return m_timeout; }

private:
    void readLoop();
    void writeLoop();
    void arrived();
    void awaitNews() const;
    bool sendAtOnce(std::unique_lock<std::mutex> &lock, std::span<const std::byte> payload);
    template <typename Write>
    bool writeUnlocked(std::unique_lock<std::mutex> &lock, Write write);
    std::optional<std::string> brokenLocked() const;

    ByteStream &m_stream;
    const std::chrono::milliseconds m_timeout;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    // The writer's own, so that frames coming in do not wake it.
    std::condition_variable m_toWrite;
    // Counts what the reading thread brought, so that receive() can look without the lock.
    std::atomic<unsigned> m_news{0};
    std::deque<Frame> m_incoming;
    std::deque<Frame> m_outgoing;
    bool m_ended = false;
    bool m_finishing = false;
    bool m_writerDone = false;
    // A frame is on its way into the stream, from the writer or straight from send().
    bool m_writing = false;
    bool m_stopping = false;
    std::optional<std::string> m_readFailure;
    std::optional<std::string> m_writeFailure;
    std::optional<std::string> m_timedOut;

    std::mutex m_handlerMutex;
    std::function<void()> m_handler;

    std::thread m_reader;
    std::thread m_writer;
};

// "30 s", "0,25 s": a duration as the watchdog's messages give it.
std::string secondsText(std::chrono::milliseconds duration);

} // namespace phone::remote
