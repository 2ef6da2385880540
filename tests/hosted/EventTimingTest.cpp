// When the control's events reach the bench's handlers through the host under Wine, with the
// scripted COM double in place: an event the control raises from its own window messages or
// timers waits until the running handler has ended, unless that handler shows a box; events
// are handled one after another, in the order raised, none lost.

#include "phone/Members.h"
#include "phone/remote/HostLauncher.h"
#include "phone/remote/HostedControl.h"
#include "phone/scripted/ScriptIds.h"
#include "program/HostedStart.h"
#include "tests/hosted/HostBitness.h"
#include "tools/scenario/HostedScript.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace script = phone::scripted::ids;
using namespace std::chrono_literals;

namespace {

// Runs the event loop until `done` holds, at most `limit`.
bool runLoopUntil(const std::function<bool()> &done, std::chrono::milliseconds limit = 10s)
{
    QTimer tick;
    tick.start(5);
    const QDeadlineTimer deadline(limit);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// ScriptPost or ScriptTimer: OnRing from the double's window, `number` times or after
// `number` milliseconds, with the call id given.
void postRing(phone::Dispatch &control, std::int32_t member, std::int32_t number,
              std::int32_t callId)
{
    std::array<phone::Argument, 5> arguments{
        phone::Argument{std::u16string(u"OnRing")}, phone::Argument{number},
        phone::Argument{std::u16string(u"0301234")}, phone::Argument{std::u16string(u"4711")},
        phone::Argument{callId}};
    control.invoke(member, arguments);
}

// The window's side of the events, as handlers that read the control: notes where each one
// starts and ends, and every event that starts while one of the handlers' reads is out, which
// only an event raised inside that read may do (these reads raise none).
class HandlerSink final : public phone::EventSink
{
public:
    explicit HandlerSink(phone::Dispatch &control)
        : m_control(control)
    {}

    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override
    {
        if (m_readsOut > 0)
            startedInsideARead.push_back(std::string(name));
        const std::int32_t callId = std::get<std::int32_t>(arguments.callID);
        handled.push_back(callId);
        order.push_back("start " + std::to_string(callId));
        deepest = std::max(deepest, ++m_depth);
        if (handler)
            handler(callId);
        --m_depth;
        order.push_back("end " + std::to_string(callId));
    }

    void read()
    {
        ++m_readsOut;
        m_control.getProperty(phone::dispid::ConnectionCount);
        --m_readsOut;
    }

    std::function<void(std::int32_t callId)> handler;
    std::vector<std::int32_t> handled;
    // "start 1", "end 1", and what the handlers add.
    std::vector<std::string> order;
    std::vector<std::string> startedInsideARead;
    // The most handlers running at once, one inside the other.
    int deepest = 0;

private:
    phone::Dispatch &m_control;
    int m_readsOut = 0;
    int m_depth = 0;
};

} // namespace

class EventTimingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void postedEventsWaitForTheRunningHandler_data();
    void postedEventsWaitForTheRunningHandler();
    void aBoxOpenInAHandlerLetsTheNextEventIn_data();
    void aBoxOpenInAHandlerLetsTheNextEventIn();
    void aTimerThatFiresDuringAHandlerWaits_data();
    void aTimerThatFiresDuringAHandlerWaits();

private:
    // The host of that bitness, the double created in it.
    std::unique_ptr<phone::remote::HostedControl> hostedDouble(int bits);

    phone::remote::HostCommand m_command;
};

void EventTimingTest::initTestCase()
{
    m_command = scenario::prepareHostUnderWine(QCoreApplication::applicationDirPath());
}

std::unique_ptr<phone::remote::HostedControl> EventTimingTest::hostedDouble(int bits)
{
    return std::make_unique<phone::remote::HostedControl>(
        hosted::hostOfBits(m_command, bits), script::progIdText, program::postToEventLoop);
}

void EventTimingTest::postedEventsWaitForTheRunningHandler_data()
{
    hosted::addHostRows();
}

// Two events posted by one call, 500 times over: the second never starts between the first
// one's reads.
void EventTimingTest::postedEventsWaitForTheRunningHandler()
{
    QFETCH(int, bits);
    if (const char *reason = hosted::hostCannotRun(bits))
        QSKIP(reason);
    const auto control = hostedDouble(bits);
    HandlerSink sink(*control);
    sink.handler = [&](std::int32_t) {
        for (int i = 0; i < 3; ++i)
            sink.read();
    };
    control->connectEvents(&sink);

    constexpr int rounds = 500;
    std::vector<std::int32_t> expected;
    for (std::int32_t round = 0; round < rounds; ++round) {
        postRing(*control, script::Post, 2, round);
        expected.insert(expected.end(), {round, round});
        QVERIFY2(runLoopUntil([&] { return sink.handled.size() == expected.size(); }),
                 QByteArray::number(round));
    }
    QCOMPARE(sink.handled, expected);
    QCOMPARE(sink.startedInsideARead, std::vector<std::string>{});
    QCOMPARE(sink.deepest, 1);
    control->connectEvents(nullptr);
}

void EventTimingTest::aBoxOpenInAHandlerLetsTheNextEventIn_data()
{
    hosted::addHostRows();
}

// The first handler shows a box between two reads: the second event is handled while the box
// is open, as the box's own message loop would, and the first handler goes on afterwards.
void EventTimingTest::aBoxOpenInAHandlerLetsTheNextEventIn()
{
    QFETCH(int, bits);
    if (const char *reason = hosted::hostCannotRun(bits))
        QSKIP(reason);
    const auto control = hostedDouble(bits);
    HandlerSink sink(*control);
    sink.handler = [&](std::int32_t callId) {
        sink.read();
        if (callId == 1) {
            sink.order.push_back("box opens");
            runLoopUntil([&] { return sink.handled.size() == 2; });
            sink.order.push_back("box closed");
        }
        sink.read();
    };
    control->connectEvents(&sink);

    postRing(*control, script::Post, 1, 1);
    postRing(*control, script::Post, 1, 2);
    QVERIFY(runLoopUntil([&] { return sink.order.size() == 6; }));
    QCOMPARE(sink.order, (std::vector<std::string>{"start 1", "box opens", "start 2", "end 2",
                                                   "box closed", "end 1"}));
    QCOMPARE(sink.startedInsideARead, std::vector<std::string>{});
    control->connectEvents(nullptr);
}

void EventTimingTest::aTimerThatFiresDuringAHandlerWaits_data()
{
    hosted::addHostRows();
}

// A handler sets the control's timer and keeps reading well past it: the timer's event comes
// only after the handler has ended.
void EventTimingTest::aTimerThatFiresDuringAHandlerWaits()
{
    QFETCH(int, bits);
    if (const char *reason = hosted::hostCannotRun(bits))
        QSKIP(reason);
    const auto control = hostedDouble(bits);
    HandlerSink sink(*control);
    sink.handler = [&](std::int32_t callId) {
        if (callId != 1)
            return;
        postRing(*control, script::Timer, 10, 2);
        const QDeadlineTimer busy(200ms);
        while (!busy.hasExpired())
            sink.read();
    };
    control->connectEvents(&sink);

    postRing(*control, script::Post, 1, 1);
    QVERIFY(runLoopUntil([&] { return sink.order.size() == 4; }));
    QCOMPARE(sink.order, (std::vector<std::string>{"start 1", "end 1", "start 2", "end 2"}));
    QCOMPARE(sink.startedInsideARead, std::vector<std::string>{});
    QCOMPARE(sink.deepest, 1);
    control->connectEvents(nullptr);
}

QTEST_MAIN(EventTimingTest)
#include "EventTimingTest.moc"
