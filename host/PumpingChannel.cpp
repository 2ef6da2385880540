#include "host/PumpingChannel.h"

#include "phone/Error.h"
#include "phone/com/ComError.h"
#include "phone/remote/Framing.h"

namespace phone::host {

namespace {
// The bench's next request usually follows within a few dozen microseconds.
constexpr std::chrono::microseconds spinBeforeSleep{100};
// Requests that keep coming within the spin keep the thread from its messages at most this
// long, so the control's timers and posted events still run during a burst.
constexpr std::chrono::milliseconds messagesAtLeastEvery{1};
} // namespace

PumpingChannel::PumpingChannel(phone::remote::ByteStream &stream)
    : m_stream(stream)
    , m_arrived(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    if (!m_arrived)
        phone::com::check(HRESULT_FROM_WIN32(GetLastError()));
    m_reader = std::thread([this] { readLoop(); });
}

PumpingChannel::~PumpingChannel()
{
    m_stream.interrupt();
    m_reader.join();
    CloseHandle(m_arrived);
}

void PumpingChannel::readLoop()
{
    phone::remote::BufferedReader stream(m_stream);
    for (;;) {
        std::optional<phone::remote::Frame> frame;
        try {
            frame = phone::remote::readFrame(stream);
        } catch (const Error &error) {
            const std::lock_guard lock(m_mutex);
            m_failure = error.description();
        }
        {
            const std::lock_guard lock(m_mutex);
            if (frame)
                m_frames.push_back(std::move(*frame));
            else
                m_ended = true;
        }
        m_news.fetch_add(1);
        if (m_sleeping.exchange(false))
            SetEvent(m_arrived);
        if (!frame)
            return;
    }
}

void PumpingChannel::send(std::span<const std::byte> payload)
{
    if (m_broken)
        throw Error(ErrorKind::Component, *m_broken);
    try {
        phone::remote::writeFrame(m_stream, payload);
    } catch (const Error &error) {
        m_broken = error.description();
        throw;
    }
}

bool PumpingChannel::deliverMessages()
{
    MSG message;
    // A message may raise an event, which takes the bench's thread: the rest wait for it.
    while (m_ownWork && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

bool PumpingChannel::spinForNews(unsigned seen)
{
    const auto until = std::chrono::steady_clock::now() + spinBeforeSleep;
    while (std::chrono::steady_clock::now() < until) {
        if (m_news.load() != seen)
            return true;
        SwitchToThread(); // lets the reading thread have this processor
    }
    return false;
}

std::optional<phone::remote::Frame> PumpingChannel::receive()
{
    if (m_broken)
        throw Error(ErrorKind::Component, *m_broken);
    while (!m_quit) {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_delivered >= messagesAtLeastEvery) {
            m_delivered = now;
            if (!deliverMessages()) {
                m_quit = true;
                break;
            }
        }
        unsigned seen = 0;
        {
            const std::lock_guard lock(m_mutex);
            if (!m_frames.empty()) {
                phone::remote::Frame frame = std::move(m_frames.front());
                m_frames.pop_front();
                return frame;
            }
            if (m_failure) {
                m_broken = *m_failure;
                throw Error(ErrorKind::Component, *m_broken);
            }
            if (m_ended)
                return std::nullopt;
            // Under the lock: news counted here is in the queue already.
            seen = m_news.load();
        }
        if (spinForNews(seen))
            continue;
        m_sleeping.store(true);
        if (m_news.load() != seen) {
            m_sleeping.store(false);
            continue;
        }
        // Woken by messages only while it may deliver them. MWMO_INPUTAVAILABLE: also for
        // messages already queued before the wait.
        MsgWaitForMultipleObjectsEx(1, &m_arrived, INFINITE, m_ownWork ? QS_ALLINPUT : 0,
                                    m_ownWork ? MWMO_INPUTAVAILABLE : 0);
        m_sleeping.store(false);
        m_delivered = std::chrono::steady_clock::now();
        m_quit = !deliverMessages();
    }
    return std::nullopt;
}

} // namespace phone::host
