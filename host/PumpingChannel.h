#pragma once

#include "phone/remote/ByteStream.h"
#include "phone/remote/FrameChannel.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace phone::host {

// The host's end of the bench's stream. While it waits for the next frame, and the bench has
// said its event loop is free (allowOwnWork), it delivers this thread's window messages, so the
// control's window, its timers and the events it posts to itself run when they would on the
// window's thread: while that thread is idle or shows a box, never inside a running handler.
// A reading thread queues the frames; sends go out at once from the serving thread, which the
// bench always reads.
class PumpingChannel final : public phone::remote::FrameChannel
{
public:
    explicit PumpingChannel(phone::remote::ByteStream &stream);
    // Interrupts the stream and lets the reading thread go.
    ~PumpingChannel() override;
    PumpingChannel(const PumpingChannel &) = delete;
    PumpingChannel &operator=(const PumpingChannel &) = delete;

    void send(std::span<const std::byte> payload) override;
    // nullopt at the end of the stream, and once the program is asked to quit (its window
    // closed), so the control is let go in order either way.
    std::optional<phone::remote::Frame> receive() override;
    void allowOwnWork(bool allowed) override { m_ownWork = allowed; }

private:
    void readLoop();
    // Delivers the messages waiting; false on WM_QUIT.
    bool deliverMessages();
    // Waits a moment for the reading thread without asking the Wine server; true when it
    // brought news.
    bool spinForNews(unsigned seen);

    phone::remote::ByteStream &m_stream;
    HANDLE m_arrived; // auto-reset, set after news while the serving thread sleeps
    // Every wait and event is a round trip to the Wine server, so the reading thread counts
    // its news and sets m_arrived only when the serving thread said it would sleep.
    std::atomic<unsigned> m_news{0};
    std::atomic<bool> m_sleeping{false};

    std::mutex m_mutex;
    std::deque<phone::remote::Frame> m_frames;
    bool m_ended = false;
    std::optional<std::string> m_failure;

    std::optional<std::string> m_broken;
    bool m_ownWork = false;
    bool m_quit = false;
    std::chrono::steady_clock::time_point m_delivered;
    std::thread m_reader;
};

} // namespace phone::host
