#include "phone/remote/RemoteControl.h"

#include "phone/Error.h"

#include <algorithm>
#include <utility>

namespace phone::remote {

namespace {

const std::string unreadable = "Der Steuerelement-Host hat unlesbare Daten gesendet: ";
const std::string ended = "Der Steuerelement-Host ist beendet.";

// Takes a request off the waiting list however its wait ends.
class Waiting
{
public:
    Waiting(std::vector<std::uint32_t> &waiting, std::uint32_t requestId)
        : m_waiting(waiting)
        , m_requestId(requestId)
    {
        m_waiting.push_back(requestId);
    }
    ~Waiting() { std::erase(m_waiting, m_requestId); }
    Waiting(const Waiting &) = delete;
    Waiting &operator=(const Waiting &) = delete;

private:
    std::vector<std::uint32_t> &m_waiting;
    std::uint32_t m_requestId;
};

} // namespace

RemoteControl::RemoteControl(ReadAheadChannel &channel, std::u16string_view progId, Post post)
    : m_channel(channel)
    , m_token(std::make_shared<Token>())
    , m_post(post)
{
    m_token->owner = this;
    if (post) {
        // On the reading thread: one drain task at a time is enough, since it takes every
        // frame queued when it runs; a frame queued after it has started posts the next.
        m_channel.onArrival([token = m_token, post = std::move(post)] {
            if (!token->posted.exchange(true))
                post(ownerTask(token, &Token::posted, &RemoteControl::deliverPending));
        });
    }
    try {
        handshake(progId);
    } catch (...) {
        m_token->owner = nullptr;
        m_channel.onArrival(nullptr);
        throw;
    }
}

RemoteControl::~RemoteControl()
{
    m_token->owner = nullptr;
    m_channel.onArrival(nullptr);
}

void RemoteControl::handshake(std::u16string_view progId)
{
    sendOrBreak(Hello{protocolVersion});
    Message answer;
    try {
        answer = decode(nextFrame());
    } catch (const Error &error) {
        if (m_broken)
            throw;
        breakWith(unreadable + error.description());
    }
    const auto *hello = std::get_if<Hello>(&answer);
    if (!hello)
        breakWith(unreadable + "„" + messageName(answer) + "“ statt „Hello“");
    if (hello->version != protocolVersion)
        breakWith("Der Steuerelement-Host spricht die Protokollversion "
                  + std::to_string(hello->version) + ", die Testbench die Version "
                  + std::to_string(protocolVersion) + ".");

    sendOrBreak(Create{std::u16string(progId)});
    sent();
    const Value created = await(createRequestId);
    if (const auto *text = std::get_if<std::u16string>(&created)) {
        if (contract::Finding finding = contract::decodeFinding(*text); !finding.lines.empty())
            m_contract = std::move(finding);
    }
}

Value RemoteControl::getProperty(std::int32_t dispId)
{
    return request(InvokeKind::Get, dispId, {});
}

void RemoteControl::putProperty(std::int32_t dispId, const Value &value)
{
    request(InvokeKind::Put, dispId, {Argument{value, false}});
}

Value RemoteControl::invoke(std::int32_t dispId, std::span<Argument> arguments)
{
    return request(InvokeKind::Call, dispId, {arguments.begin(), arguments.end()});
}

void RemoteControl::connectEvents(EventSink *sink)
{
    m_sink = sink;
}

Value RemoteControl::request(InvokeKind kind, std::int32_t dispId, std::vector<Argument> arguments)
{
    checkUsable();
    if (arguments.size() > maxArguments)
        throw Error(ErrorKind::Component, "Zu viele Argumente für den Steuerelement-Host ("
                                              + std::to_string(arguments.size()) + ")");
    const std::uint32_t requestId = m_nextRequest;
    m_nextRequest = m_nextRequest == UINT32_MAX ? createRequestId + 1 : m_nextRequest + 1;
    // Encoded first: a message too big for a frame fails this call only.
    const Frame frame = encode(Invoke{requestId, dispId, kind, std::move(arguments)});
    try {
        m_channel.send(frame);
    } catch (const Error &error) {
        breakWith(error.description());
    }
    sent();
    return await(requestId);
}

Value RemoteControl::await(std::uint32_t requestId)
{
    const Waiting waiting(m_waiting, requestId);
    for (;;) {
        if (const auto found = m_answers.find(requestId); found != m_answers.end()) {
            Answer answer = std::move(found->second);
            m_answers.erase(found);
            if (auto *failure = std::get_if<Failure>(&answer))
                throw Error(failure->kind, failure->description, failure->code);
            return std::move(std::get<Result>(answer).value);
        }
        checkUsable();
        handle(nextFrame());
    }
}

Frame RemoteControl::nextFrame()
{
    std::optional<Frame> frame;
    try {
        frame = m_channel.receive();
    } catch (const Error &error) {
        breakWith(error.description());
    }
    if (!frame)
        breakWith(ended);
    return std::move(*frame);
}

void RemoteControl::handle(const Frame &frame)
{
    Message message;
    try {
        message = decode(frame);
    } catch (const Error &error) {
        breakWith(unreadable + error.description());
    }
    if (auto *result = std::get_if<Result>(&message))
        keep(result->requestId, std::move(*result));
    else if (auto *failure = std::get_if<Failure>(&message))
        keep(failure->requestId, std::move(*failure));
    else if (auto *event = std::get_if<Event>(&message)) {
        if (!m_post || waitsFor(event->insideRequest))
            deliver(*event);
        else
            m_queued.push_back(std::move(*event));
    } else
        breakWith(unreadable + "unerwartete Nachricht „" + messageName(message) + "“");
}

bool RemoteControl::waitsFor(std::uint32_t requestId) const
{
    return std::find(m_waiting.begin(), m_waiting.end(), requestId) != m_waiting.end();
}

void RemoteControl::keep(std::uint32_t requestId, Answer answer)
{
    if (!waitsFor(requestId) || m_answers.contains(requestId))
        breakWith(unreadable + "Antwort auf Anfrage " + std::to_string(requestId)
                  + ", die nicht wartet");
    m_answers.emplace(requestId, std::move(answer));
}

void RemoteControl::deliver(const Event &event)
{
    if (m_sink) {
        // The window reports its own errors; nothing a handler throws may reach the host's
        // conversation, which goes on either way.
        try {
            m_sink->controlEvent(event.name, event.arguments);
        } catch (...) {
        }
    }
    checkUsable();
    sendOrBreak(EventDone{event.eventId});
    sent();
}

void RemoteControl::sent()
{
    m_hostAtWork = true;
    if (!m_post || m_token->idlePosted)
        return;
    m_token->idlePosted = true;
    m_post(ownerTask(m_token, &Token::idlePosted, &RemoteControl::tellIdle));
}

template <typename Pending>
RemoteControl::Task RemoteControl::ownerTask(const std::shared_ptr<Token> &token,
                                             Pending Token::*pending, void (RemoteControl::*work)())
{
    return [weak = std::weak_ptr<Token>(token), pending, work] {
        const std::shared_ptr<Token> alive = weak.lock();
        if (!alive)
            return;
        alive.get()->*pending = false;
        if (alive->owner)
            (alive->owner->*work)();
    };
}

void RemoteControl::tellIdle() noexcept
{
    if (!m_hostAtWork || m_broken)
        return;
    m_hostAtWork = false;
    try {
        sendOrBreak(Idle{});
    } catch (...) {
        // Broken now: the next access reports why.
    }
}

void RemoteControl::deliverPending() noexcept
{
    if (m_broken)
        return;
    try {
        for (;;) {
            if (!m_queued.empty()) {
                const Event event = std::move(m_queued.front());
                m_queued.pop_front();
                deliver(event);
            } else if (std::optional<Frame> frame = m_channel.poll()) {
                handle(*frame);
            } else if (m_channel.drained()) {
                // The host has gone between two calls: known now, not only at the next access.
                nextFrame();
            } else {
                break;
            }
        }
    } catch (...) {
        // Broken now: the next access reports why.
    }
}

void RemoteControl::sendOrBreak(const Message &message)
{
    try {
        m_channel.send(encode(message));
    } catch (const Error &error) {
        breakWith(error.description());
    }
}

void RemoteControl::checkUsable() const
{
    if (m_broken)
        throw Error(ErrorKind::Component, *m_broken);
}

void RemoteControl::breakWith(const std::string &reason)
{
    if (!m_broken)
        m_broken = reason;
    throw Error(ErrorKind::Component, *m_broken);
}

} // namespace phone::remote
