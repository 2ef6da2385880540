#include "phone/remote/HostServer.h"

#include "phone/Error.h"

#include <algorithm>
#include <utility>

namespace phone::remote {

namespace {

template <typename F>
Message answer(std::uint32_t requestId, F access)
{
    try {
        return Result{requestId, access()};
    } catch (const Error &error) {
        return Failure{requestId, error.kind(), error.description(), error.code()};
    } catch (const std::exception &error) {
        return Failure{requestId, ErrorKind::Component, error.what()};
    } catch (...) {
        return Failure{requestId, ErrorKind::Component, "Unbekannter Fehler im Steuerelement"};
    }
}

[[noreturn]] void protocolError(const std::string &what)
{
    throw Error(ErrorKind::Component, "Die Testbench hat " + what);
}

} // namespace

template <typename Access>
auto HostServer::inside(std::uint32_t requestId, Access access)
{
    struct Scope
    {
        std::vector<std::uint32_t> &stack;
        ~Scope() { stack.pop_back(); }
    } scope{m_inside};
    m_inside.push_back(requestId);
    return access();
}

HostServer::HostServer(FrameChannel &channel, Factory factory)
    : m_channel(channel)
    , m_factory(std::move(factory))
{}

HostServer::~HostServer()
{
    release();
}

void HostServer::run()
{
    try {
        while (!m_over)
            serveNext();
    } catch (...) {
        release();
        throw;
    }
    release();
    if (m_failure)
        std::rethrow_exception(std::exchange(m_failure, nullptr));
}

void HostServer::release() noexcept
{
    if (!m_control)
        return;
    try {
        m_control->connectEvents(nullptr);
    } catch (...) {
    }
    m_control.reset();
}

void HostServer::serveNext()
{
    // What the channel runs while it waits (the control's messages) is inside no request.
    std::optional<Frame> frame = inside(notInsideRequest, [this] { return m_channel.receive(); });
    if (!frame) {
        m_over = true;
        return;
    }
    Message message;
    try {
        message = decode(*frame);
    } catch (const Error &error) {
        protocolError("unlesbare Daten gesendet: " + error.description());
    }
    serve(std::move(message));
}

void HostServer::serve(Message message)
{
    // Only Idle frees the channel for the control's own work; anything else the bench says
    // means its window's thread is busy again.
    const bool idle = std::holds_alternative<Idle>(message);
    m_channel.allowOwnWork(idle);
    if (idle)
        return;
    if (auto *m = std::get_if<Hello>(&message))
        hello(*m);
    else if (auto *m = std::get_if<Create>(&message))
        create(*m);
    else if (auto *m = std::get_if<Invoke>(&message))
        invoke(*m);
    else if (auto *m = std::get_if<EventDone>(&message))
        acknowledge(*m);
    else if (std::holds_alternative<Close>(message))
        m_over = true;
    else
        protocolError(std::string("„") + messageName(message) + "“ gesendet");
}

void HostServer::hello(const Hello &hello)
{
    send(Hello{protocolVersion});
    // The bench reports the mismatch; nothing it says after that could be understood.
    if (hello.version != protocolVersion)
        m_over = true;
}

void HostServer::create(const Create &create)
{
    if (m_control) {
        send(Failure{createRequestId, ErrorKind::Component,
                     "Das Steuerelement ist schon erstellt."});
        return;
    }
    send(answer(createRequestId, [&]() -> Value {
        std::unique_ptr<Dispatch> control = m_factory(create.progId);
        if (!control)
            throw Error(ErrorKind::Component, "Das Steuerelement konnte nicht erstellt werden.");
        control->connectEvents(this);
        m_control = std::move(control);
        // What the bench relies on, checked against the control's type information here,
        // where it can be read.
        if (const auto described = m_control->typeDescription())
            return contract::encode(contract::check(*described));
        return Empty{};
    }));
}

void HostServer::invoke(Invoke &invoke)
{
    if (!m_control) {
        send(
            Failure{invoke.requestId, ErrorKind::Component, "Es ist kein Steuerelement erstellt."});
        return;
    }
    send(answer(invoke.requestId, [&]() -> Value {
        return inside(invoke.requestId, [&]() -> Value {
            switch (invoke.kind) {
            case InvokeKind::Get:
                return m_control->getProperty(invoke.dispId);
            case InvokeKind::Put:
                m_control->putProperty(invoke.dispId, invoke.arguments.front().value);
                return Empty{};
            case InvokeKind::Call:
                break;
            }
            return m_control->invoke(invoke.dispId, invoke.arguments);
        });
    }));
}

void HostServer::acknowledge(const EventDone &done)
{
    const auto found = std::find(m_unacknowledged.begin(), m_unacknowledged.end(), done.eventId);
    if (found == m_unacknowledged.end())
        protocolError("das Ereignis " + std::to_string(done.eventId)
                      + " quittiert, das nicht aussteht");
    m_unacknowledged.erase(found);
}

void HostServer::controlEvent(std::string_view name, const EventArguments &arguments)
{
    if (m_over)
        return;
    const std::uint32_t eventId = m_nextEvent++;
    const std::uint32_t insideRequest = m_inside.empty() ? notInsideRequest : m_inside.back();
    try {
        // The bench's thread is taken by this event until it says otherwise, so no further
        // message of the control runs meanwhile.
        m_channel.allowOwnWork(false);
        send(Event{eventId, insideRequest, std::string(name), arguments});
        m_unacknowledged.push_back(eventId);
        while (!m_over
               && std::find(m_unacknowledged.begin(), m_unacknowledged.end(), eventId)
                      != m_unacknowledged.end())
            serveNext();
    } catch (...) {
        // The control called us; it gets no exception. run() reports it once the control's
        // own call has returned.
        m_over = true;
        if (!m_failure)
            m_failure = std::current_exception();
    }
    std::erase(m_unacknowledged, eventId);
}

void HostServer::send(const Message &message)
{
    Frame frame;
    try {
        frame = encode(message);
    } catch (const Error &error) {
        // A result too big for a frame fails its request, not the session.
        const auto *result = std::get_if<Result>(&message);
        if (!result)
            throw;
        frame = encode(
            Failure{result->requestId, ErrorKind::Component, error.description(), error.code()});
    }
    m_channel.send(frame);
}

} // namespace phone::remote
