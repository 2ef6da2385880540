// The control's events reach the window by name with their three arguments, as this
// control numbers them in its type information; everything else is dropped; the
// connection ends with the window or the adapter, and nothing stays referenced.

#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/com/ComText.h"

namespace tervani_tests {
namespace {

class HandledEventTest : public ControlTest, public testing::WithParamInterface<std::string_view>
{
};

TEST_P(HandledEventTest, ArrivesByNameWithItsArguments)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    const std::string name(GetParam());
    raise(phone::com::fromUtf8(name), u"0711 12345", u"4711", 42);

    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].name, name);
    EXPECT_EQ(sink.events[0].arguments.callingNumber, phone::Value{u"0711 12345"});
    EXPECT_EQ(sink.events[0].arguments.calledMSN, phone::Value{u"4711"});
    EXPECT_EQ(sink.events[0].arguments.callID, phone::Value{std::int32_t{42}});
    // The double compares its by-reference values after the event.
    EXPECT_EQ(lastCall(), "Raise " + name + " to 1 sink(s): unchanged");
    control->connectEvents(nullptr);
}

// OnIdle comes with VARIANT* arguments, the others with BSTR* and long*.
INSTANTIATE_TEST_SUITE_P(Events, HandledEventTest, testing::ValuesIn(phone::handledEvents),
                         [](const auto &info) { return std::string(info.param); });

TEST_F(ControlTest, EventsTheWindowDoesNotHandleAreDropped)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    // OnStatus is described but not handled; 99 is not described at all.
    raise(u"OnStatus", u"läuft", u"", 0);
    EXPECT_EQ(lastCall(), "Raise OnStatus to 1 sink(s): unchanged");
    raise(std::int32_t{tervani_double::undescribedEvent}, u"0711", u"4711", 1);
    EXPECT_EQ(lastCall(), "Raise #99 to 1 sink(s): unchanged");
    EXPECT_TRUE(sink.events.empty());
    control->connectEvents(nullptr);
}

TEST_F(ControlTest, IncomingCallIdentifierFollowsTheRing)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    raise(u"OnRing", u"0711", u"4711", 815);
    EXPECT_EQ(control->getProperty(phone::dispid::IncomingCallID), phone::Value{std::int32_t{815}});
    control->connectEvents(nullptr);
}

TEST_F(ControlTest, DisconnectedSinkGetsNothingAndCanReconnect)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    control->connectEvents(nullptr);
    EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
    raise(u"OnRing", u"0711", u"4711", 1);
    EXPECT_EQ(lastCall(), "Raise OnRing to 0 sink(s): unchanged");
    EXPECT_TRUE(sink.events.empty());

    control->connectEvents(&sink);
    EXPECT_EQ(doubleLibrary().advisedSinks(), 1);
    raise(u"OnIdle", u"0711", u"4711", 2);
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].name, "OnIdle");
}

TEST_F(ControlTest, DestroyingTheAdapterDisconnectsAndReleasesEverything)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    EXPECT_EQ(doubleLibrary().advisedSinks(), 1);
    EXPECT_EQ(doubleLibrary().liveObjects(), 1);
    control.reset();
    EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
    EXPECT_EQ(doubleLibrary().liveObjects(), 0);
}

TEST_F(ControlTest, AdapterDisconnectsFromAControlThatOutlivesIt)
{
    RecordingSink sink;
    control->connectEvents(&sink);
    std::vector<phone::Argument> none;
    control->invoke(tervani_double::dispid::KeepAlive, none);
    control.reset();
    EXPECT_EQ(doubleLibrary().liveObjects(), 1);
    EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
    doubleLibrary().releaseKept();
}

TEST_F(ControlTest, HandlerMayDisconnectWhileItsEventIsDelivered)
{
    // As when a handler closes the window.
    RecordingSink sink;
    sink.during = [this] {
        control->connectEvents(nullptr);
    };
    control->connectEvents(&sink);
    raise(u"OnDisConnected", u"0711", u"4711", 3);
    EXPECT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
    raise(u"OnDisConnected", u"0711", u"4711", 4);
    EXPECT_EQ(sink.events.size(), 1u);
}

TEST_F(ControlTest, FailingHandlerIsReportedToTheControlNotThrownThroughIt)
{
    RecordingSink sink;
    sink.during = [] {
        throw phone::Error(phone::ErrorKind::Overflow);
    };
    control->connectEvents(&sink);
    raise(u"OnConnected", u"0711", u"4711", 5);
    EXPECT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(lastCall(), "Raise OnConnected to 1 sink(s), failed: unchanged");
    control->connectEvents(nullptr);
}

TEST(ControlWithoutClassInfo, EventsAreNamedFromItsTypeLibrary)
{
    {
        phone::com::ComControl control(u16(tervani_double::plainProgId));
        RecordingSink sink;
        control.connectEvents(&sink);
        for (std::string_view name : phone::handledEvents) {
            std::vector<phone::Argument> arguments{
                {phone::com::fromUtf8(name)}, {u"0711"}, {u"4711"}, {std::int32_t{6}}};
            control.invoke(tervani_double::dispid::Raise, arguments);
        }
        ASSERT_EQ(sink.events.size(), phone::handledEvents.size());
        for (std::size_t i = 0; i < sink.events.size(); ++i)
            EXPECT_EQ(sink.events[i].name, phone::handledEvents[i]);
    }
    EXPECT_EQ(doubleLibrary().liveObjects(), 0);
    EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
}

} // namespace
} // namespace tervani_tests
