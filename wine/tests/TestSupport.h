#pragma once

#include "DoubleIds.h"
#include "DoubleLibrary.h"
#include "phone/Dispatch.h"
#include "phone/com/ComControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace tervani_tests {

// A test that starts with no instance of the double alive and its container calls forgotten,
// and ends with every instance released and every event connection let go.
template <typename Base = testing::Test>
class DoubleLeakCheck : public Base
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(doubleLibrary().liveObjects(), 0) << "an earlier test left the double alive";
        doubleLibrary().forgetContainerCalls();
    }
    void TearDown() override
    {
        EXPECT_EQ(doubleLibrary().liveObjects(), 0);
        EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
    }
};

inline std::u16string u16(const wchar_t *text)
{
    return reinterpret_cast<const char16_t *>(text);
}

// UTF-8 of a text value, so failures print readably.
std::string utf8(const std::u16string &text);

// The value as a test expects it to read: text for text, "I4 7" style otherwise.
std::string show(const phone::Value &value);

// The description of the component error the action throws; a test failure if it throws
// none.
std::string errorOf(const std::function<void()> &action);

// Delivers every message waiting for this thread, as the window's event loop would: the
// way a windowed control's events arrive.
void pumpMessages();

struct RecordedEvent
{
    std::string name;
    phone::EventArguments arguments;
};

// The window's side of the events, recording what arrives. A test may give it something
// to do while an event is being delivered.
class RecordingSink : public phone::EventSink
{
public:
    void controlEvent(std::string_view name, const phone::EventArguments &arguments) override
    {
        events.push_back({std::string(name), arguments});
        if (during)
            during();
    }

    std::vector<RecordedEvent> events;
    std::function<void()> during;
};

// Each test gets a fresh instance of the double through the adapter, and checks at its
// end that the adapter let go of everything.
class ControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(doubleLibrary().liveObjects(), 0) << "an earlier test left the double alive";
        control = std::make_unique<phone::com::ComControl>(u16(tervani_double::controlProgId));
    }
    void TearDown() override
    {
        control.reset();
        EXPECT_EQ(doubleLibrary().liveObjects(), 0);
        EXPECT_EQ(doubleLibrary().advisedSinks(), 0);
    }

    std::string lastCall() { return show(control->getProperty(tervani_double::dispid::LastCall)); }

    // Has the double raise an event, named or by raw identifier.
    void raise(const phone::Value &event, const std::u16string &callingNumber,
               const std::u16string &calledMSN, std::int32_t callId)
    {
        std::vector<phone::Argument> arguments{{event}, {callingNumber}, {calledMSN}, {callId}};
        control->invoke(tervani_double::dispid::Raise, arguments);
    }

    std::unique_ptr<phone::com::ComControl> control;
};

} // namespace tervani_tests
