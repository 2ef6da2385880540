#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/TervaniFacade.h"
#include "phone/sim/SimulatedControl.h"
#include "tests/support/FakeEventLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using phone::ErrorKind;
using phone::Value;
using phone::sim::FaultMode;
using phone::sim::Millis;
using phone::sim::SimulatedControl;
using phone::sim::Timing;

// One event as the bench would see it, with what the control reported while it was handled.
struct Seen
{
    std::string name;
    phone::EventArguments arguments;
    Millis at;
    Value count;
    std::u16string latestText;
    std::int32_t incomingCallId;
};

class StateRecordingSink : public phone::EventSink
{
public:
    StateRecordingSink(phone::Dispatch &control, const phone::sim::Clock &clock)
        : m_control(control)
        , m_clock(clock)
    {}

    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override
    {
        phone::TervaniFacade control(m_control);
        seen.push_back(Seen{std::string(name), arguments, m_clock.now(),
                            m_control.getProperty(phone::dispid::ConnectionCount),
                            control.LatestText(), control.IncomingCallID()});
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const Seen &event : seen)
            result.push_back(event.name);
        return result;
    }

    std::vector<Seen> seen;

private:
    phone::Dispatch &m_control;
    const phone::sim::Clock &m_clock;
};

// No registration notices unless a test asks for them, so event lists stay exact.
constexpr Timing quietTiming{1500ms, 3000ms, 30000ms, 0ms};

class SoftphoneTest : public testing::Test
{
protected:
    explicit SoftphoneTest(Timing timing = quietTiming)
        : m_control(std::make_unique<SimulatedControl>(m_loop, m_loop.makeScheduler(), timing))
        , m_sink(*m_control, m_loop)
        , m_tervani(*m_control)
    {
        m_control->connectEvents(&m_sink);
    }

    ~SoftphoneTest() override
    {
        if (m_control)
            m_control->connectEvents(nullptr);
    }

    std::vector<std::string> drain()
    {
        m_loop.runPending();
        std::vector<std::string> names = m_sink.names();
        m_sink.seen.clear();
        return names;
    }

    phone::sim::Softphone &softphone() { return m_control->softphone(); }

    testsupport::FakeEventLoop m_loop;
    std::unique_ptr<SimulatedControl> m_control;
    StateRecordingSink m_sink;
    phone::TervaniFacade m_tervani;
};

using Names = std::vector<std::string>;

// Runs the call and returns the control's error, failing the test when none came.
template <typename Call>
phone::Error controlError(Call &&call)
{
    try {
        call();
    } catch (const phone::Error &error) {
        return error;
    }
    ADD_FAILURE() << "the control accepted the call";
    return phone::Error(ErrorKind::Type, "none");
}

TEST_F(SoftphoneTest, DialRaisesConnectingAfterTheCallAndConnectedAfterRingBack)
{
    m_tervani.Dial(u"0123 456");
    EXPECT_TRUE(m_sink.seen.empty()) << "no event may arrive inside the member call";

    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), Names{"OnConnecting"});
    const Seen &connecting = m_sink.seen[0];
    EXPECT_EQ(connecting.arguments.callingNumber, Value{u"4711"});
    EXPECT_EQ(connecting.arguments.calledMSN, Value{u"0123 456"});
    EXPECT_EQ(connecting.arguments.callID, Value{std::int32_t{1}});
    EXPECT_EQ(connecting.count, Value{std::int32_t{1}});
    EXPECT_EQ(connecting.latestText, u"Wähle 0123 456");

    m_loop.advance(1499ms);
    EXPECT_EQ(m_sink.seen.size(), 1u) << "the far end answers only after the ring-back";
    m_loop.advance(1ms);
    ASSERT_EQ(m_sink.names(), (Names{"OnConnecting", "OnConnected"}));
    EXPECT_EQ(m_sink.seen[1].at, 1500ms);
    EXPECT_EQ(m_sink.seen[1].arguments.callID, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[1].latestText, u"Verbunden mit 0123 456");
}

TEST_F(SoftphoneTest, CallIdsCountUpAndEachDialRaisesTheCount)
{
    m_tervani.Dial(u"01");
    m_tervani.Dial(u"02");
    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), (Names{"OnConnecting", "OnConnecting"}));
    EXPECT_EQ(m_sink.seen[0].arguments.callID, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[0].count, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[1].arguments.callID, Value{std::int32_t{2}});
    EXPECT_EQ(m_sink.seen[1].count, Value{std::int32_t{2}});
}

TEST_F(SoftphoneTest, NumberWithoutDigitIsRejectedAndChangesNothing)
{
    for (const std::u16string number : {u"", u"abc", u"+-() /", u"٣"}) {
        const phone::Error error = controlError([&] { m_tervani.Dial(number); });
        EXPECT_EQ(error.kind(), ErrorKind::Component);
        EXPECT_EQ(error.description(), "Ungültige Rufnummer");
    }
    m_loop.advance(10s);
    EXPECT_TRUE(m_sink.seen.empty());
    EXPECT_TRUE(softphone().calls().empty());
    EXPECT_EQ(m_tervani.ConnectionCount(), 0);
    EXPECT_EQ(m_tervani.LatestText(), u"Bereit");
}

TEST_F(SoftphoneTest, HangUpLowersTheCountBetweenDisconnectingAndDisconnected)
{
    m_tervani.Dial(u"0123");
    m_loop.advance(2s);
    m_sink.seen.clear();

    m_tervani.HangUp(1);
    EXPECT_TRUE(m_sink.seen.empty());
    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
    EXPECT_EQ(m_sink.seen[0].count, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[1].count, Value{std::int32_t{0}});
    EXPECT_EQ(m_sink.seen[1].arguments.callID, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[1].latestText, u"Verbindung mit 0123 beendet");
    EXPECT_EQ(m_sink.seen[2].arguments.callID, Value{std::int32_t{0}});
    EXPECT_EQ(m_sink.seen[2].latestText, u"Keine Verbindung");
}

TEST_F(SoftphoneTest, IdleComesOnlyWhenTheLastCallHasEnded)
{
    m_tervani.Dial(u"01");
    m_tervani.Dial(u"02");
    drain();
    m_tervani.HangUp(1);
    EXPECT_EQ(drain(), (Names{"OnDisconnecting", "OnDisConnected"}));
    m_tervani.HangUp(2);
    EXPECT_EQ(drain(), (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
}

TEST_F(SoftphoneTest, HangUpOfUnknownOrEndedIdIsAnErrorOfTheControl)
{
    m_tervani.Dial(u"0123");
    drain();
    for (const std::int32_t id : {0, 2, -1, 99}) {
        const phone::Error error = controlError([&] { m_tervani.HangUp(id); });
        EXPECT_EQ(error.kind(), ErrorKind::Component) << id;
        EXPECT_EQ(error.description(), "Keine Verbindung mit der ID " + std::to_string(id));
    }
    m_tervani.HangUp(1);
    // Ended at once, even before its events have arrived.
    EXPECT_EQ(controlError([&] { m_tervani.HangUp(1); }).kind(), ErrorKind::Component);
    EXPECT_EQ(drain(), (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
    EXPECT_EQ(controlError([&] { m_tervani.HangUp(1); }).kind(), ErrorKind::Component);
    EXPECT_TRUE(drain().empty());
}

TEST_F(SoftphoneTest, HangUpDuringRingBackEndsTheCallBeforeTheFarEndAnswers)
{
    m_tervani.Dial(u"0123");
    m_tervani.HangUp(1);
    m_loop.advance(5s);
    EXPECT_EQ(m_sink.names(),
              (Names{"OnConnecting", "OnDisconnecting", "OnDisConnected", "OnIdle"}));
}

TEST_F(SoftphoneTest, IncomingCallOffersRingsAndIsAnswered)
{
    softphone().ring(u"0171 2345678");
    EXPECT_TRUE(m_sink.seen.empty());
    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), (Names{"OnOffering", "OnRing"}));
    for (const Seen &event : m_sink.seen) {
        EXPECT_EQ(event.arguments.callingNumber, Value{u"0171 2345678"});
        EXPECT_EQ(event.arguments.calledMSN, Value{u"4711"});
        EXPECT_EQ(event.arguments.callID, Value{std::int32_t{1}});
        EXPECT_EQ(event.incomingCallId, 1);
        EXPECT_EQ(event.count, Value{std::int32_t{0}}) << "a ringing call is no connection yet";
    }
    m_loop.advance(3s);
    EXPECT_EQ(m_sink.names().back(), "OnRing");
    EXPECT_EQ(m_sink.seen.back().at, 3s);
    m_sink.seen.clear();

    m_tervani.AcceptCall(m_tervani.IncomingCallID());
    EXPECT_TRUE(m_sink.seen.empty());
    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), (Names{"OnConnecting", "OnConnected"}));
    EXPECT_EQ(m_sink.seen[0].count, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[0].arguments.callingNumber, Value{u"0171 2345678"});
    EXPECT_EQ(m_sink.seen[0].arguments.calledMSN, Value{u"4711"});
    EXPECT_EQ(m_sink.seen[1].latestText, u"Verbunden mit 0171 2345678");

    m_loop.advance(60s);
    EXPECT_EQ(m_sink.seen.size(), 2u) << "an answered call neither rings nor gives up";
}

TEST_F(SoftphoneTest, AcceptCallWithAnyOtherIdIsAnErrorOfTheControl)
{
    m_tervani.Dial(u"0123");     // id 1, outgoing
    softphone().ring(u"0171 2"); // id 2, ringing
    drain();
    for (const std::int32_t id : {0, 1, 3, -2}) {
        const phone::Error error = controlError([&] { m_tervani.AcceptCall(id); });
        EXPECT_EQ(error.kind(), ErrorKind::Component);
        EXPECT_EQ(error.description(), "Kein ankommender Anruf mit der ID " + std::to_string(id));
    }
    EXPECT_TRUE(drain().empty());
    m_tervani.AcceptCall(2);
    EXPECT_EQ(controlError([&] { m_tervani.AcceptCall(2); }).kind(), ErrorKind::Component)
        << "an answered call cannot be answered again";
}

TEST_F(SoftphoneTest, UnansweredCallerRingsEveryThreeSecondsAndGivesUpAfterThirty)
{
    softphone().ring(u"0301234");
    m_loop.advance(30s);
    std::vector<Millis> rings;
    for (const Seen &event : m_sink.seen) {
        if (event.name == "OnRing")
            rings.push_back(event.at);
    }
    EXPECT_EQ(rings, (std::vector<Millis>{0s, 3s, 6s, 9s, 12s, 15s, 18s, 21s, 24s, 27s}));
    const Names names = m_sink.names();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(Names(names.end() - 3, names.end()),
              (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
    EXPECT_EQ(m_sink.seen.back().at, 30s);
    EXPECT_EQ(m_sink.seen[m_sink.seen.size() - 2].latestText, u"0301234 hat aufgegeben");
    EXPECT_TRUE(softphone().calls().empty());

    EXPECT_EQ(controlError([&] { m_tervani.AcceptCall(1); }).kind(), ErrorKind::Component);
    m_sink.seen.clear();
    m_loop.advance(60s);
    EXPECT_TRUE(m_sink.seen.empty());
}

TEST_F(SoftphoneTest, RejectingARingingCallLeavesTheCountAlone)
{
    softphone().ring(u"0301234");
    drain();
    m_tervani.HangUp(1);
    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
    EXPECT_EQ(m_sink.seen[0].count, Value{std::int32_t{0}});
    m_sink.seen.clear();
    m_loop.advance(40s);
    EXPECT_TRUE(m_sink.seen.empty()) << "a rejected call neither rings nor gives up";
}

TEST_F(SoftphoneTest, FarEndHangsUp)
{
    m_tervani.Dial(u"0123");
    m_loop.advance(2s);
    m_sink.seen.clear();
    softphone().farEndHangUp(1);
    EXPECT_TRUE(m_sink.seen.empty());
    m_loop.runPending();
    ASSERT_EQ(m_sink.names(), (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
    EXPECT_EQ(m_sink.seen[1].latestText, u"0123 hat aufgelegt");
    EXPECT_EQ(controlError([&] { softphone().farEndHangUp(1); }).kind(), ErrorKind::Component);
}

class ShortTimingTest : public SoftphoneTest
{
protected:
    ShortTimingTest()
        : SoftphoneTest(Timing{20ms, 100ms, 1000ms, 0ms})
    {}
};

TEST_F(ShortTimingTest, IntervalsFollowTheConfiguredTiming)
{
    m_tervani.Dial(u"0123");
    m_loop.advance(20ms);
    EXPECT_EQ(m_sink.names(), (Names{"OnConnecting", "OnConnected"}));
    m_sink.seen.clear();

    softphone().ring(u"0301234");
    m_loop.advance(1000ms);
    const Names names = m_sink.names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "OnRing"), 10);
    EXPECT_EQ(names.back(), "OnDisConnected") << "call 1 is still up: no OnIdle";
}

TEST_F(SoftphoneTest, DtmfNeedsALiveConnectionAndValidTones)
{
    m_tervani.Dial(u"0123");
    m_loop.runPending();
    EXPECT_EQ(controlError([&] { m_tervani.SendDTMF(1, u"1"); }).description(),
              "Keine bestehende Verbindung mit der ID 1")
        << "during the ring-back there is no connection yet";
    m_loop.advance(2s);

    m_tervani.SendDTMF(1, u"0123456789*#ABCD");
    EXPECT_EQ(m_tervani.LatestText(), u"DTMF 0123456789*#ABCD an Verbindung 1 gesendet");

    for (const std::u16string digits : {u"", u"12a", u"E", u"1 2", u"12+"}) {
        const phone::Error error = controlError([&] { m_tervani.SendDTMF(1, digits); });
        EXPECT_EQ(error.kind(), ErrorKind::Component);
        EXPECT_EQ(error.description(), "Ungültige DTMF-Zeichen");
    }
    EXPECT_EQ(controlError([&] { m_tervani.SendDTMF(7, u"1"); }).description(),
              "Keine bestehende Verbindung mit der ID 7");
    m_tervani.HangUp(1);
    EXPECT_EQ(controlError([&] { m_tervani.SendDTMF(1, u"1"); }).kind(), ErrorKind::Component);
}

struct MessageCase
{
    std::u16string number;
    std::u16string latestText;
};

TEST_F(SoftphoneTest, ShortMessageGoesAsSmsToGermanMobilesAndAsSpeechElsewhere)
{
    const std::vector<MessageCase> cases{
        {u"01701234567", u"SMS an 01701234567 gesendet"},
        {u"0151 234 567", u"SMS an 0151 234 567 gesendet"},
        {u"0160/12345", u"SMS an 0160/12345 gesendet"},
        {u"+49 171 2345", u"SMS an +49 171 2345 gesendet"},
        {u"+4915112", u"SMS an +4915112 gesendet"},
        {u"030 1234567", u"Text als Sprachanruf (TTS) an 030 1234567 gesendet"},
        {u"0180 555", u"Text als Sprachanruf (TTS) an 0180 555 gesendet"},
        {u"+49 30 1234", u"Text als Sprachanruf (TTS) an +49 30 1234 gesendet"},
        {u"4917012", u"Text als Sprachanruf (TTS) an 4917012 gesendet"},
        {u"+43 170 1234", u"Text als Sprachanruf (TTS) an +43 170 1234 gesendet"},
        {u"017", u"Text als Sprachanruf (TTS) an 017 gesendet"},
    };
    for (const MessageCase &row : cases) {
        m_tervani.SendShortMessage(row.number, u"Hallo");
        EXPECT_EQ(m_tervani.LatestText(), row.latestText);
    }
    EXPECT_EQ(controlError([&] { m_tervani.SendShortMessage(u"Mama", u"Hallo"); }).description(),
              "Ungültige Rufnummer");
    EXPECT_TRUE(drain().empty()) << "messages raise no call events";
}

struct ConvertCase
{
    std::u16string text;
    std::u16string dialable;
};

TEST_F(SoftphoneTest, ConvertNumberKeepsDigitsAndALeadingPlus)
{
    const std::vector<ConvertCase> cases{
        {u"(012) 34 55 66", u"012345566"},
        {u"+49 (171) 234-56", u"+4917123456"},
        {u"  +1 2", u"+12"},
        {u"0+1", u"01"},
        {u"Tel. 030/12 34", u"0301234"},
        {u"7", u"7"},
    };
    for (const ConvertCase &row : cases)
        EXPECT_EQ(m_tervani.ConvertNumber(row.text), row.dialable);
    for (const std::u16string text : {u"", u"+", u"keine Nummer"}) {
        const phone::Error error = controlError([&] { m_tervani.ConvertNumber(text); });
        EXPECT_EQ(error.kind(), ErrorKind::Component);
        EXPECT_EQ(error.description(), "Keine Rufnummer erkannt");
    }
}

class NoticeTest : public SoftphoneTest
{
protected:
    NoticeTest()
        : SoftphoneTest(Timing{1500ms, 3000ms, 30000ms, 60000ms})
    {}
};

TEST_F(NoticeTest, RegistrationNoticeIsAnEventTheBenchDoesNotHandleAndChangesNothing)
{
    m_tervani.Dial(u"0123");
    m_loop.advance(2s);
    const std::u16string latest = m_tervani.LatestText();
    m_sink.seen.clear();

    m_loop.advance(58s);
    ASSERT_EQ(m_sink.names(), Names{std::string(phone::sim::registrationNotice)});
    EXPECT_EQ(std::find(phone::handledEvents.begin(), phone::handledEvents.end(),
                        phone::sim::registrationNotice),
              phone::handledEvents.end());
    EXPECT_EQ(m_sink.seen[0].at, 60s);
    EXPECT_EQ(m_sink.seen[0].latestText, latest);
    EXPECT_EQ(m_sink.seen[0].count, Value{std::int32_t{1}});
    EXPECT_EQ(m_sink.seen[0].arguments.callID, Value{phone::Null{}});

    m_loop.advance(60s);
    EXPECT_EQ(m_sink.seen.size(), 2u) << "the notice comes again and again";

    // Raised on demand too, after the call like every event. Queued behind an OnConnecting,
    // it leaves the count that event announced.
    m_sink.seen.clear();
    m_tervani.Dial(u"0456");
    softphone().raiseRegistrationNotice();
    EXPECT_TRUE(m_sink.seen.empty());
    m_loop.runPending();
    EXPECT_EQ(m_sink.names(), (Names{"OnConnecting", std::string(phone::sim::registrationNotice)}));
    EXPECT_EQ(m_tervani.ConnectionCount(), 2);
}

phone::Error accessOf(phone::Dispatch &control, const phone::Member &member)
{
    return controlError([&] {
        if (member.kind == phone::MemberKind::Property)
            control.getProperty(member.dispId);
        else
            control.invoke(member.dispId, {});
    });
}

TEST_F(SoftphoneTest, EveryMemberCanBeMadeToFailOnEveryAccess)
{
    for (const phone::Member &member : phone::members) {
        m_control->injectFault(member.dispId, FaultMode::EveryAccess);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const phone::Error error = accessOf(*m_control, member);
            EXPECT_EQ(error.kind(), ErrorKind::Component);
            EXPECT_EQ(error.description(),
                      "Simulierter Fehler beim Zugriff auf " + std::string(member.name));
        }
        m_control->clearFault(member.dispId);
        if (member.kind == phone::MemberKind::Property) {
            EXPECT_NO_THROW(m_control->getProperty(member.dispId)) << member.name;
        } else {
            EXPECT_EQ(accessOf(*m_control, member).description(), "Falsche Anzahl an Argumenten")
                << member.name;
        }
    }
}

TEST_F(SoftphoneTest, NextAccessFaultFailsOnceAndLeavesTheStateAlone)
{
    int changes = 0;
    m_control->setChangeListener([&] { ++changes; });
    m_control->injectFault(phone::dispid::Dial, FaultMode::NextAccess);
    EXPECT_EQ(controlError([&] { m_tervani.Dial(u"0123"); }).description(),
              "Simulierter Fehler beim Zugriff auf Dial");
    EXPECT_TRUE(m_control->faults().faults().empty());
    EXPECT_EQ(changes, 2) << "injecting and using up the fault are both shown";
    EXPECT_TRUE(drain().empty());
    EXPECT_TRUE(softphone().calls().empty());

    m_tervani.Dial(u"0123");
    EXPECT_EQ(drain(), Names{"OnConnecting"});
}

TEST_F(SoftphoneTest, PopUpFaultAppliesToReadingAndWriting)
{
    m_control->injectFault(phone::dispid::PopUp, FaultMode::EveryAccess);
    EXPECT_EQ(controlError([&] { m_tervani.PopUp(); }).kind(), ErrorKind::Component);
    EXPECT_EQ(controlError([&] { m_tervani.setPopUp(0); }).kind(), ErrorKind::Component);
    EXPECT_TRUE(softphone().popUp());
    m_control->clearFaults();
    m_tervani.setPopUp(0);
    EXPECT_FALSE(m_tervani.PopUp());
    m_tervani.setPopUp(1);
    EXPECT_TRUE(m_tervani.PopUp());
}

TEST_F(SoftphoneTest, ConnectionCountCanAnswerOddValues)
{
    m_tervani.Dial(u"0123");
    m_loop.runPending();
    const std::vector<Value> odd{std::int32_t{11}, std::int32_t{-1}, 2.5, std::u16string(u"abc"),
                                 phone::Null{}};
    for (const Value &answer : odd) {
        m_control->setConnectionCountAnswer(answer);
        EXPECT_EQ(m_control->getProperty(phone::dispid::ConnectionCount), answer);
    }
    m_control->setConnectionCountAnswer(std::nullopt);
    EXPECT_EQ(m_control->getProperty(phone::dispid::ConnectionCount), Value{std::int32_t{1}});
}

TEST_F(SoftphoneTest, UnknownMembersAndReadOnlyPropertiesAreRefused)
{
    EXPECT_EQ(controlError([&] { m_control->getProperty(0x12345); }).description(),
              "Methode oder Datenelement nicht gefunden");
    EXPECT_EQ(controlError([&] { m_control->getProperty(phone::dispid::Dial); }).description(),
              "Methode oder Datenelement nicht gefunden");
    EXPECT_EQ(controlError([&] { m_control->invoke(phone::dispid::PopUp, {}); }).description(),
              "Methode oder Datenelement nicht gefunden");
    EXPECT_EQ(controlError([&] {
                  m_control->putProperty(phone::dispid::ConnectionCount, std::int32_t{3});
              }).description(),
              "Eigenschaft ist schreibgeschützt");
}

TEST_F(SoftphoneTest, NothingArrivesAfterDestruction)
{
    m_tervani.Dial(u"0123");
    softphone().ring(u"0301234");
    softphone().raiseRegistrationNotice();
    ASSERT_GT(m_loop.waiting(), 0u);

    m_control->connectEvents(nullptr);
    m_control.reset();
    EXPECT_EQ(m_loop.waiting(), 0u) << "every task and timer goes with the control";
    m_loop.advance(120s);
    EXPECT_TRUE(m_sink.seen.empty());
}

TEST_F(SoftphoneTest, DisconnectedSinkReceivesNothing)
{
    m_tervani.Dial(u"0123");
    softphone().ring(u"0301234");
    m_control->connectEvents(nullptr);
    m_loop.advance(40s);
    EXPECT_TRUE(m_sink.seen.empty());

    // The line went on meanwhile: the outgoing call was answered, the caller gave up.
    EXPECT_EQ(m_tervani.ConnectionCount(), 1);
    m_control->connectEvents(&m_sink);
    m_tervani.HangUp(1);
    EXPECT_EQ(drain(), (Names{"OnDisconnecting", "OnDisConnected", "OnIdle"}));
}

TEST(SoftphoneLifetime, SchedulerDroppedWithTheControlEvenWithoutDisconnecting)
{
    testsupport::FakeEventLoop loop;
    int events = 0;
    struct CountingSink : phone::EventSink
    {
        int &count;
        explicit CountingSink(int &count)
            : count(count)
        {}
        void controlEvent(std::string_view, const phone::EventArguments &) override { ++count; }
    } sink(events);
    {
        SimulatedControl control(loop, loop.makeScheduler());
        control.connectEvents(&sink);
        control.softphone().dial(u"0123");
        control.softphone().ring(u"030");
    }
    EXPECT_EQ(loop.waiting(), 0u);
    loop.advance(600s);
    EXPECT_EQ(events, 0);
}

} // namespace
