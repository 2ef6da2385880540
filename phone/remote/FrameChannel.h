#pragma once

#include "phone/remote/Protocol.h"

#include <functional>
#include <optional>
#include <span>

namespace phone::remote {

// Whole frames to and from the other end. Used from one thread at a time.
class FrameChannel
{
public:
    virtual ~FrameChannel() = default;

    // Sends one payload; its length prefix is the channel's business.
    virtual void send(std::span<const std::byte> payload) = 0;

    // Blocks until the next frame arrives and returns its payload; nullopt when the other end
    // closed the stream between two frames. How it waits is the implementation's choice (a
    // watchdog on the bench, a message loop on a Windows host). Throws phone::Error when the
    // stream breaks, is cut off inside a frame, announces an oversized frame or times out;
    // after that, the channel stays broken.
    virtual std::optional<Frame> receive() = 0;

    // Whether receive() may run its owner's other work while it waits (on a Windows host: the
    // thread's window messages, so the control's window, timers and posted events). Off until
    // the other end says its event loop is free; a channel without such work ignores it.
    virtual void allowOwnWork(bool /*allowed*/) {}
};

// A channel read ahead by a thread of its own, so its owner also learns of frames that come
// while it is not waiting for one (events between two calls).
class ReadAheadChannel : public FrameChannel
{
public:
    // A frame already read, at once, or nullopt when none is queued. Reports the end of the
    // stream and failures only through receive().
    virtual std::optional<Frame> poll() = 0;

    // Called on the reading thread after each frame is queued and when the stream ends or
    // fails. Once this returns, the previous handler is neither running nor called again.
    // Must not call back into the channel.
    virtual void onArrival(std::function<void()> handler) = 0;

    // True once the stream has ended or failed and every frame read before it has been
    // taken; receive() then says which, at once.
    virtual bool drained() const { return false; }
};

} // namespace phone::remote
