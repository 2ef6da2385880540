// The bench's end against the host's end in one process, over a socket pair, with the host
// on a thread of its own serving the scripted control.
#include "ScriptedHostControl.h"
#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/remote/HostServer.h"
#include "phone/remote/PipeStream.h"
#include "phone/remote/RemoteControl.h"
#include "phone/remote/StreamChannel.h"
#include "phone/remote/WatchedChannel.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <optional>
#include <thread>

using namespace std::chrono_literals;
using namespace phone::remote;
using namespace remote_test;
using phone::Argument;
using phone::ErrorKind;
using phone::Value;
namespace dispid = phone::dispid;

namespace {

// Logs the kind and id of every frame the bench takes in, in the order it takes them.
class RecordingChannel final : public ReadAheadChannel
{
public:
    explicit RecordingChannel(ReadAheadChannel &channel)
        : m_channel(channel)
    {}
    void send(std::span<const std::byte> payload) override { m_channel.send(payload); }
    std::optional<Frame> receive() override { return note(m_channel.receive()); }
    std::optional<Frame> poll() override { return note(m_channel.poll()); }
    void onArrival(std::function<void()> handler) override
    {
        m_channel.onArrival(std::move(handler));
    }

    std::vector<std::string> log;

private:
    std::optional<Frame> note(std::optional<Frame> frame)
    {
        if (frame) {
            const Message message = decode(*frame);
            std::string entry = messageName(message);
            if (const auto *result = std::get_if<Result>(&message))
                entry += " " + std::to_string(result->requestId);
            if (const auto *event = std::get_if<Event>(&message))
                entry += " " + event->name;
            log.push_back(entry);
        }
        return frame;
    }

    ReadAheadChannel &m_channel;
};

std::unique_ptr<PipeStream> socketStream(int fd)
{
    return std::make_unique<PipeStream>(Handle(::fcntl(fd, F_DUPFD_CLOEXEC, 0)), Handle(fd));
}

// Both ends connected; the host's end runs `host` on its own thread.
class Link
{
public:
    using Host = std::function<void(FrameChannel &channel)>;

    Link(Host host, std::chrono::milliseconds timeout)
    {
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            throw std::runtime_error("socketpair");
        m_benchStream = socketStream(fds[0]);
        // The host's end closes when the host is done, as a process's would.
        m_host = std::thread([stream = socketStream(fds[1]), host = std::move(host)] {
            StreamChannel channel(*stream);
            host(channel);
        });
        m_channel = std::make_unique<WatchedChannel>(*m_benchStream, timeout);
        m_recording = std::make_unique<RecordingChannel>(*m_channel);
    }
    ~Link() { finish(); }

    // The bench's end goes first: the host then reads the end of its stream.
    void finish()
    {
        m_recording.reset();
        m_channel.reset();
        m_benchStream.reset();
        if (m_host.joinable())
            m_host.join();
    }

    RecordingChannel &channel() { return *m_recording; }

private:
    std::unique_ptr<PipeStream> m_benchStream;
    std::thread m_host;
    std::unique_ptr<WatchedChannel> m_channel;
    std::unique_ptr<RecordingChannel> m_recording;
};

// A HostServer with the scripted control on the far end.
class Served
{
public:
    explicit Served(std::chrono::milliseconds timeout = 5s)
        : m_link([this](FrameChannel &channel) { serve(channel); }, timeout)
    {}
    ~Served() { close(); }

    RemoteControl &control(std::u16string_view progId = u"Test.Control")
    {
        if (!m_control)
            m_control = std::make_unique<RemoteControl>(m_link.channel(), progId, m_tasks.poster());
        return *m_control;
    }
    RecordingChannel &channel() { return m_link.channel(); }
    TaskQueue &tasks() { return m_tasks; }

    // Ends the session as the channel's owner does, by closing the stream, and waits for the
    // host to end.
    void close()
    {
        m_control.reset();
        m_link.finish();
    }

    bool released = false;
    std::string serverError;

private:
    void serve(FrameChannel &channel)
    {
        ScriptedHostControl *control = nullptr;
        IdleChannel idle(channel, [&] {
            if (control)
                control->fireDeferred();
        });
        HostServer server(
            idle, [&](std::u16string_view progId) -> std::unique_ptr<phone::Dispatch> {
                if (progId != u"Test.Control")
                    throw phone::Error(
                        ErrorKind::Component,
                        "Das Steuerelement „" + utf8(std::u16string(progId))
                            + "“ konnte nicht erstellt werden.\nKlasse nicht registriert");
                auto created = std::make_unique<ScriptedHostControl>(&released);
                control = created.get();
                return created;
            });
        try {
            server.run();
        } catch (const phone::Error &error) {
            serverError = error.description();
        }
        control = nullptr;
    }

    TaskQueue m_tasks;
    Link m_link;
    std::unique_ptr<RemoteControl> m_control;
};

std::string errorOf(const std::function<void()> &access)
{
    try {
        access();
    } catch (const phone::Error &error) {
        return std::to_string(static_cast<int>(error.kind())) + " " + error.description();
    }
    return "(no error)";
}

Value call(RemoteControl &control, std::int32_t dispId, std::vector<Argument> arguments)
{
    return control.invoke(dispId, arguments);
}

const std::string component = std::to_string(static_cast<int>(ErrorKind::Component)) + " ";

TEST(RemoteSession, ReadsAndWritesProperties)
{
    Served served;
    RemoteControl &control = served.control();
    EXPECT_EQ(show(control.getProperty(dispid::ConnectionCount)), "i32:0");
    EXPECT_EQ(show(control.getProperty(dispid::PopUp)), "true");
    control.putProperty(dispid::PopUp, std::int16_t{0});
    EXPECT_EQ(show(control.getProperty(dispid::PopUp)), "i16:0");
    const std::u16string awkward{u'x', 0xd800, u'\0', 0xdc00};
    control.putProperty(dispid::LatestText, awkward);
    EXPECT_EQ(std::get<std::u16string>(control.getProperty(dispid::LatestText)), awkward);
}

TEST(RemoteSession, PassesMethodArgumentsAndResults)
{
    Served served;
    RemoteControl &control = served.control();
    const std::u16string text(70000, u'ä');
    EXPECT_EQ(std::get<std::u16string>(call(control, dispid::SendShortMessage,
                                            {{std::u16string(u"0171"), false}, {text, false}})),
              text);
}

TEST(RemoteSession, RethrowsTheControlsErrorsWithTheirKindAndGoesOn)
{
    Served served;
    RemoteControl &control = served.control();
    EXPECT_EQ(errorOf([&] {
                  call(control, dispid::Dial, {{std::u16string(u"abc"), false}});
              }),
              component + "Ungültige Rufnummer");
    EXPECT_EQ(errorOf([&] { control.getProperty(overflowingProperty); }),
              std::to_string(static_cast<int>(ErrorKind::Overflow)) + " Überlauf");
    EXPECT_EQ(errorOf([&] { call(control, 0x1234, {}); }), component + "Unbekannte Methode");
    EXPECT_EQ(show(control.getProperty(dispid::ConnectionCount)), "i32:0");
}

TEST(RemoteSession, CarriesTheControlsErrorCodeAndNoneWhereItGaveNone)
{
    Served served;
    RemoteControl &control = served.control();
    auto codeOf = [](const std::function<void()> &access) -> std::optional<std::int32_t> {
        try {
            access();
        } catch (const phone::Error &error) {
            return error.code();
        }
        return std::int32_t{0};
    };
    EXPECT_EQ(codeOf([&] {
                  call(control, dispid::Dial, {{std::u16string(u"abc"), false}});
              }),
              invalidNumberCode);
    EXPECT_EQ(codeOf([&] { control.getProperty(overflowingProperty); }), std::nullopt);
}

TEST(RemoteSession, ByReferenceArgumentsAreCopies)
{
    Served served;
    RemoteControl &control = served.control();
    std::vector<Argument> arguments{{std::int32_t{5}, true}};
    // The control saw 5 by reference and wrote 999 into its copy.
    EXPECT_EQ(show(control.invoke(dispid::AcceptCall, arguments)), "i32:51");
    EXPECT_EQ(show(arguments[0].value), "i32:5");
    EXPECT_EQ(show(call(control, dispid::AcceptCall, {{std::int32_t{6}, false}})), "i32:60");
}

TEST(RemoteSession, ReportsTheHostsCreationError)
{
    Served served;
    EXPECT_EQ(errorOf([&] { served.control(u"Nicht.Da"); }),
              component
                  + "Das Steuerelement „Nicht.Da“ konnte nicht erstellt werden.\n"
                    "Klasse nicht registriert");
}

TEST(RemoteSession, HandlesAnEventRaisedInsideACallWithNestedAccesses)
{
    Served served;
    RemoteControl &control = served.control();
    EventTextSink sink;
    std::vector<std::string> seen;
    sink.action = [&](std::string_view) {
        seen.push_back(show(control.getProperty(dispid::ConnectionCount)));
        seen.push_back(show(control.getProperty(dispid::LatestText)));
        seen.push_back(show(call(control, dispid::AcceptCall, {{std::int32_t{2}, true}})));
    };
    control.connectEvents(&sink);

    call(control, dispid::Dial, {{std::u16string(u"0301234"), false}});
    sink.action = nullptr;

    EXPECT_EQ(sink.events, std::vector<std::string>{"OnConnecting '4711' '0301234' i32:1"});
    EXPECT_EQ(seen, (std::vector<std::string>{"i32:1", "'W\\u228hle 0301234'", "i32:21"}));
    // The event came before the Dial's own answer, and the handler's answers in between.
    EXPECT_EQ(served.channel().log,
              (std::vector<std::string>{"Hello", "Result 0", "Event OnConnecting", "Result 2",
                                        "Result 3", "Result 4", "Result 1"}));
}

TEST(RemoteSession, AcknowledgesAnEventWhoseHandlerThrows)
{
    Served served;
    RemoteControl &control = served.control();
    EventTextSink sink;
    int calls = 0;
    sink.action = [&](std::string_view) {
        if (++calls == 1)
            throw phone::Error(ErrorKind::Type);
        throw std::runtime_error("kaputt");
    };
    control.connectEvents(&sink);
    call(control, dispid::Dial, {{std::u16string(u"1"), false}});
    call(control, dispid::Dial, {{std::u16string(u"2"), false}});
    EXPECT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(show(control.getProperty(dispid::ConnectionCount)), "i32:2");
}

TEST(RemoteSession, StillAcknowledgesEventsWithoutASink)
{
    Served served;
    RemoteControl &control = served.control();
    EventTextSink sink;
    control.connectEvents(&sink);
    control.connectEvents(nullptr);
    call(control, dispid::Dial, {{std::u16string(u"1"), false}});
    call(control, dispid::HangUp, {{std::int32_t{1}, true}});
    const auto eventCame = [&] {
        const std::vector<std::string> &log = served.channel().log;
        return std::find(log.begin(), log.end(), "Event OnDisConnected") != log.end();
    };
    for (int turn = 0; turn < 20 && !eventCame(); ++turn)
        served.tasks().runPosted(500ms);
    EXPECT_TRUE(eventCame());
    EXPECT_EQ(show(control.getProperty(dispid::ConnectionCount)), "i32:1");
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(served.channel().log.back(), "Result 3");
}

TEST(RemoteSession, DeliversAnEventBetweenCallsThroughThePostedTask)
{
    Served served;
    RemoteControl &control = served.control();
    EventTextSink sink;
    std::vector<std::string> seen;
    sink.action = [&](std::string_view) {
        seen.push_back(show(control.getProperty(dispid::ConnectionCount)));
    };
    control.connectEvents(&sink);

    call(control, dispid::HangUp, {{std::int32_t{7}, true}});
    EXPECT_TRUE(sink.events.empty()) << "an event raised after the call is not part of it";

    // The host raises it once idle; the reading thread posts, and the task delivers.
    int ran = 0;
    for (int i = 0; i < 20 && sink.events.empty(); ++i)
        ran += served.tasks().runPosted(500ms);
    EXPECT_GE(ran, 1);
    EXPECT_EQ(sink.events, std::vector<std::string>{"OnDisConnected '4711' '0' i32:7"});
    EXPECT_EQ(seen, std::vector<std::string>{"i32:0"});
    EXPECT_EQ(show(control.getProperty(dispid::PopUp)), "true");
}

TEST(RemoteSession, TheHostRunsTheControlsOwnLoopOnlyOnceTheBenchsLoopIsFree)
{
    Served served;
    RemoteControl &control = served.control();
    EventTextSink sink;
    std::vector<std::string> seen;
    sink.action = [&](std::string_view) {
        seen.push_back(show(control.getProperty(dispid::ConnectionCount)));
    };
    control.connectEvents(&sink);

    // HangUp puts its event off to the control's own loop: not run between two accesses of
    // one handler, however many follow.
    call(control, dispid::HangUp, {{std::int32_t{7}, true}});
    EXPECT_EQ(show(control.getProperty(dispid::PopUp)), "true");
    EXPECT_EQ(show(control.getProperty(dispid::LatestText)), "'Bereit'");
    EXPECT_EQ(served.channel().log,
              (std::vector<std::string>{"Hello", "Result 0", "Result 1", "Result 2", "Result 3"}));

    // Once the bench's event loop runs, the host is told, raises it, and the loop handles it.
    for (int turn = 0; turn < 20 && sink.events.empty(); ++turn)
        served.tasks().runPosted(500ms);
    EXPECT_EQ(sink.events, std::vector<std::string>{"OnDisConnected '4711' '0' i32:7"});
    EXPECT_EQ(seen, std::vector<std::string>{"i32:0"});
}

TEST(RemoteSession, ReleasesTheControlAtTheEndOfTheStream)
{
    Served served;
    served.control().getProperty(dispid::PopUp);
    EXPECT_FALSE(served.released);
    served.close();
    EXPECT_TRUE(served.released);
    EXPECT_EQ(served.serverError, "");
}

// A host written frame by frame, for what a HostServer never says.
class FakeHost
{
public:
    using Script = std::function<void(FrameChannel &)>;
    explicit FakeHost(Script script, std::chrono::milliseconds timeout = 5s)
        : m_link(std::move(script), timeout)
    {}
    RecordingChannel &channel() { return m_link.channel(); }

private:
    Link m_link;
};

Message receive(FrameChannel &channel)
{
    const std::optional<Frame> frame = channel.receive();
    if (!frame)
        throw std::runtime_error("the bench has gone");
    return decode(*frame);
}

void greet(FrameChannel &channel, std::uint32_t version = protocolVersion)
{
    receive(channel);
    channel.send(encode(Hello{version}));
    receive(channel);
    channel.send(encode(Result{createRequestId, phone::Empty{}}));
}

// Reads until the bench has gone.
void drain(FrameChannel &channel)
{
    while (channel.receive()) {
    }
}

// An event raised inside the request the bench waits for is handled inside it; one the
// control raised from its own loop waits for the bench's event loop, though it comes while a
// request waits, and that request is answered meanwhile.
class EventInsideARequest : public testing::TestWithParam<bool>
{
};

TEST_P(EventInsideARequest, IsHandledInsideItOtherwiseOnTheEventLoop)
{
    const bool inside = GetParam();
    FakeHost host([inside](FrameChannel &channel) {
        greet(channel);
        const auto invoke = std::get<Invoke>(receive(channel));
        channel.send(encode(Event{1, inside ? invoke.requestId : notInsideRequest, "OnRing", {}}));
        channel.send(encode(Result{invoke.requestId, std::int32_t{5}}));
        while (!std::holds_alternative<EventDone>(receive(channel))) {
        }
        drain(channel);
    });
    TaskQueue tasks;
    RemoteControl control(host.channel(), u"Test.Control", tasks.poster());
    EventTextSink sink;
    control.connectEvents(&sink);

    EXPECT_EQ(show(control.getProperty(dispid::ConnectionCount)), "i32:5");
    EXPECT_EQ(sink.events.size(), inside ? 1u : 0u);
    for (int turn = 0; turn < 20 && sink.events.empty(); ++turn)
        tasks.runPosted(500ms);
    EXPECT_EQ(sink.events, std::vector<std::string>{"OnRing Empty Empty Empty"});
}

INSTANTIATE_TEST_SUITE_P(RemoteSession, EventInsideARequest, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) {
                             return info.param ? "raised_inside_the_request"
                                               : "raised_by_the_controls_own_loop";
                         });

TEST(RemoteSession, RefusesAHostOfAnotherVersion)
{
    FakeHost host([](FrameChannel &channel) {
        receive(channel);
        channel.send(encode(Hello{3}));
        drain(channel);
    });
    EXPECT_EQ(errorOf([&] { RemoteControl control(host.channel(), u"Test.Control"); }),
              component
                  + "Der Steuerelement-Host spricht die Protokollversion 3, die Testbench "
                    "die Version 4.");
}

// The host answers Create with its check of the control against the contract, or with
// nothing for a control without type information; anything else is no finding.
TEST(RemoteSession, KeepsTheHostsContractFinding)
{
    phone::contract::Finding sent;
    sent.lines = {{phone::contract::Line::Verdict::Ok, "PopUp 0x68030001 Eigenschaft lesen (): ok"},
                  {phone::contract::Line::Verdict::Differs,
                   "Dial 0x6003000A Methode (BSTR): andere ID 0x6003001A"}};
    const struct
    {
        phone::Value answer;
        bool isFinding;
    } rows[] = {
        {phone::contract::encode(sent), true},
        {phone::Empty{}, false},
        {std::int32_t{5}, false},
        {std::u16string(u"kein Befund"), false},
    };
    for (const auto &row : rows) {
        FakeHost host([&row](FrameChannel &channel) {
            receive(channel);
            channel.send(encode(Hello{protocolVersion}));
            receive(channel);
            channel.send(encode(Result{createRequestId, row.answer}));
            drain(channel);
        });
        RemoteControl control(host.channel(), u"Test.Control");
        ASSERT_EQ(control.contract().has_value(), row.isFinding);
        if (row.isFinding) {
            EXPECT_EQ(control.contract()->differences(), sent.lines[1].text);
        }
    }
}

TEST(RemoteSession, BreaksOnAnAnswerToNoRequestAndStaysBroken)
{
    FakeHost host([](FrameChannel &channel) {
        greet(channel);
        receive(channel);
        channel.send(encode(Result{77, std::int32_t{1}}));
        drain(channel);
    });
    RemoteControl control(host.channel(), u"Test.Control");
    const std::string broken = component
                               + "Der Steuerelement-Host hat unlesbare Daten gesendet: Antwort "
                                 "auf Anfrage 77, die nicht wartet";
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), broken);
    EXPECT_EQ(errorOf([&] { control.putProperty(dispid::PopUp, true); }), broken);
    EXPECT_EQ(errorOf([&] { call(control, dispid::Dial, {}); }), broken);
}

TEST(RemoteSession, BreaksOnAMessageOnlyTheBenchSends)
{
    FakeHost host([](FrameChannel &channel) {
        greet(channel);
        receive(channel);
        channel.send(encode(Close{}));
        drain(channel);
    });
    RemoteControl control(host.channel(), u"Test.Control");
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }),
              component
                  + "Der Steuerelement-Host hat unlesbare Daten gesendet: unerwartete Nachricht "
                    "„Close“");
}

TEST(RemoteSession, TimesOutOnASilentHostAndStaysBroken)
{
    FakeHost host(
        [](FrameChannel &channel) {
            greet(channel);
            drain(channel);
        },
        250ms);
    RemoteControl control(host.channel(), u"Test.Control");
    const auto start = std::chrono::steady_clock::now();
    const std::string silent = component + "Der Steuerelement-Host antwortet nicht (0,25 s).";
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), silent);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 250ms);
    EXPECT_LT(waited, 2s);
    const auto again = std::chrono::steady_clock::now();
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), silent);
    EXPECT_LT(std::chrono::steady_clock::now() - again, 50ms);
}

TEST(RemoteSession, ReportsAHostThatEndsMidCall)
{
    FakeHost host([](FrameChannel &channel) {
        greet(channel);
        receive(channel);
    });
    RemoteControl control(host.channel(), u"Test.Control");
    const std::string ended = component + "Der Steuerelement-Host ist beendet.";
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), ended);
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), ended);
}

TEST(RemoteSession, AnEventHandlersBreakageEndsTheOuterCallToo)
{
    FakeHost host([](FrameChannel &channel) {
        greet(channel);
        receive(channel);
        channel.send(encode(Event{1, 1, "OnRing", {}}));
        receive(channel); // the handler's Invoke; the host ends without answering
    });
    RemoteControl control(host.channel(), u"Test.Control");
    EventTextSink sink;
    std::string inner;
    sink.action = [&](std::string_view) {
        inner = errorOf([&] { control.getProperty(dispid::ConnectionCount); });
    };
    control.connectEvents(&sink);
    const std::string ended = component + "Der Steuerelement-Host ist beendet.";
    EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), ended);
    EXPECT_EQ(inner, ended);
}

// Host-side checks: what the server makes of a bench that breaks the protocol.
TEST(HostServerEnd, EndsOnCloseAndReleasesTheControl)
{
    bool released = false;
    std::string error = "(none)";
    Link link(
        [&](FrameChannel &channel) {
            HostServer server(channel, [&](std::u16string_view) {
                return std::make_unique<ScriptedHostControl>(&released);
            });
            try {
                server.run();
            } catch (const phone::Error &e) {
                error = e.description();
            }
        },
        5s);
    FrameChannel &bench = link.channel();
    bench.send(encode(Hello{}));
    EXPECT_TRUE(std::holds_alternative<Hello>(receive(bench)));
    bench.send(encode(Create{u"X"}));
    EXPECT_TRUE(std::holds_alternative<Result>(receive(bench)));
    bench.send(encode(Create{u"X"}));
    EXPECT_EQ(std::get<Failure>(receive(bench)).description,
              "Das Steuerelement ist schon erstellt.");
    bench.send(encode(Close{}));
    // The server ends by itself: the stream's end follows.
    EXPECT_EQ(bench.receive(), std::nullopt);
    EXPECT_TRUE(released);
    EXPECT_EQ(error, "(none)");
}

TEST(HostServerEnd, RefusesAnAcknowledgementOfNoEventAndGarbage)
{
    for (const auto &[frame, expected] : std::vector<std::pair<Frame, std::string>>{
             {encode(EventDone{4}),
              "Die Testbench hat das Ereignis 4 quittiert, das nicht aussteht"},
             {Frame{std::byte{0x42}},
              "Die Testbench hat unlesbare Daten gesendet: unbekannter Nachrichtentyp 0x42"},
             {encode(Result{1, true}), "Die Testbench hat „Result“ gesendet"}}) {
        bool released = false;
        std::string error = "(none)";
        {
            Link link(
                [&](FrameChannel &channel) {
                    HostServer server(channel, [&](std::u16string_view) {
                        return std::make_unique<ScriptedHostControl>(&released);
                    });
                    try {
                        server.run();
                    } catch (const phone::Error &e) {
                        error = e.description();
                    }
                },
                5s);
            FrameChannel &bench = link.channel();
            bench.send(encode(Hello{}));
            receive(bench);
            bench.send(encode(Create{u"X"}));
            receive(bench);
            bench.send(frame);
            EXPECT_EQ(bench.receive(), std::nullopt);
        }
        EXPECT_EQ(error, expected);
        EXPECT_TRUE(released);
    }
}

TEST(HostServerEnd, AnswersAccessesBeforeCreateWithAFailure)
{
    Link link(
        [&](FrameChannel &channel) {
            HostServer server(channel, [](std::u16string_view) { return nullptr; });
            server.run();
        },
        5s);
    FrameChannel &bench = link.channel();
    bench.send(encode(Invoke{3, 1, InvokeKind::Get, {}}));
    const auto failure = std::get<Failure>(receive(bench));
    EXPECT_EQ(failure.requestId, 3u);
    EXPECT_EQ(failure.description, "Es ist kein Steuerelement erstellt.");
    bench.send(encode(Create{u"X"}));
    EXPECT_EQ(std::get<Failure>(receive(bench)).description,
              "Das Steuerelement konnte nicht erstellt werden.");
}

} // namespace
