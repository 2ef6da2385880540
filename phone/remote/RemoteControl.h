#pragma once

#include "phone/Contract.h"
#include "phone/Dispatch.h"
#include "phone/remote/FrameChannel.h"
#include "phone/remote/Protocol.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace phone::remote {

// The control as the bench sees it through its host: every access is an Invoke that waits
// for its answer. Calls nest as in a single-threaded apartment: an event the control raised
// inside a call that waits is handled at once on the calling thread, and the handler's own
// accesses go out as nested Invokes; answers are matched by request id, in whatever order they
// come. An event the control raised from its own messages or timers waits for the owning
// thread's event loop (a posted task), as it would on the window's thread, and events are
// handled in the order they came. Whenever that loop runs after the bench has sent something,
// the host is told it may run the control's messages again (Idle).
//
// Without a poster there is no event loop: every event is handled as it comes, and the host
// is never told to run the control's messages.
//
// Once the host has gone, stopped answering or sent something unreadable, every access
// throws the same ErrorKind::Component error at once. Errors the control itself raised are
// rethrown with the host's kind and description and break nothing.
//
// Used from one thread, the one that owns it. The channel's owner ends the session.
class RemoteControl final : public Dispatch
{
public:
    using Task = std::function<void()>;
    // Runs a task later on the owning thread (its event loop). Called from another thread.
    using Post = std::function<void(Task)>;

    // Greets the host and has it create the control `progId`. Events that come while no call
    // waits are delivered through tasks given to `post`; without one they wait for the next
    // access. Throws phone::Error when the host cannot be reached or the control not created.
    RemoteControl(ReadAheadChannel &channel, std::u16string_view progId, Post post = {});
    ~RemoteControl() override;
    RemoteControl(const RemoteControl &) = delete;
    RemoteControl &operator=(const RemoteControl &) = delete;

    Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const Value &value) override;
    // By-reference arguments travel as copies; what the control writes into them stays there.
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override;
    // Without a sink, events are still acknowledged, so the host goes on.
    void connectEvents(EventSink *sink) override;

    // Delivers the events that wait for the event loop, in order; what the posted tasks run.
    void deliverPending() noexcept;

    // True once the host is lost for good: every access then fails at once, the same way.
    bool broken() const { return m_broken.has_value(); }
    // Why, once broken.
    const std::optional<std::string> &brokenBecause() const { return m_broken; }

    // The host's check of the control's type information against the contract; none when the
    // control has no type information.
    const std::optional<contract::Finding> &contract() const { return m_contract; }

private:
    // What a posted task may still reach once this object has gone.
    struct Token
    {
        RemoteControl *owner = nullptr; // only touched on the owning thread
        std::atomic<bool> posted{false};
        bool idlePosted = false; // only touched on the owning thread
    };
    using Answer = std::variant<Result, Failure>;

    void handshake(std::u16string_view progId);
    Value request(InvokeKind kind, std::int32_t dispId, std::vector<Argument> arguments);
    Value await(std::uint32_t requestId);
    Frame nextFrame();
    void handle(const Frame &frame);
    void keep(std::uint32_t requestId, Answer answer);
    void deliver(const Event &event);
    bool waitsFor(std::uint32_t requestId) const;
    // After each message the host acts on: a posted task tells the host once the loop runs.
    void sent();
    void tellIdle() noexcept;
    // A task for the owning thread: clears the token's `pending` flag and runs `work` on the
    // owner, if the owner is still there when the task runs.
    template <typename Pending>
    static Task ownerTask(const std::shared_ptr<Token> &token, Pending Token::*pending,
                          void (RemoteControl::*work)());
    void sendOrBreak(const Message &message);
    void checkUsable() const;
    [[noreturn]] void breakWith(const std::string &reason);

    ReadAheadChannel &m_channel;
    std::shared_ptr<Token> m_token;
    Post m_post;
    std::deque<Event> m_queued; // events that wait for the event loop
    bool m_hostAtWork = false;  // sent something since the host was last told Idle
    EventSink *m_sink = nullptr;
    std::uint32_t m_nextRequest = createRequestId + 1;
    std::vector<std::uint32_t> m_waiting;      // requests waiting, outermost first
    std::map<std::uint32_t, Answer> m_answers; // answers that came before their turn
    std::optional<std::string> m_broken;
    std::optional<contract::Finding> m_contract;
};

} // namespace phone::remote
