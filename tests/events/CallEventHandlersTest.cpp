#include "events/CallEventHandlers.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "tests/support/HandlerCaseSuite.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

using form::Control;
using testsupport::HandlerCase;
using testsupport::HandlerCases;
using testsupport::HandlerRig;

const phone::CallEvent call{u"030", u"040", 8};

// Two connections, the label texts about to change.
void twoConnections(HandlerRig &rig)
{
    rig.control.setAnswer(phone::dispid::ConnectionCount, 2);
    rig.control.setAnswer(phone::dispid::LatestText, std::u16string(u"neu"));
}

std::string lineOf(const char *event)
{
    return std::string("addItem \"Ereignis: ") + event + " (ID: 8) -    Nummer: 030 - MSN: 040\"";
}

// The line and the two labels, as every handled event writes them.
std::vector<std::string> lineAndLabels(const char *event)
{
    return {lineOf(event), "get ConnectionCount", "caption LBL_Anzahl \"Anzahl Verbindungen:  2\"",
            "get LatestText", "caption LBL_Last \"Zuletzt: neu\""};
}

HandlerCase eventCase(const char *event, std::vector<std::string> before,
                      std::vector<std::string> after)
{
    std::vector<std::string> trace = std::move(before);
    for (std::string &line : lineAndLabels(event))
        trace.push_back(std::move(line));
    trace.insert(trace.end(), after.begin(), after.end());
    return {event, twoConnections,
            [event](HandlerRig &rig) { ASSERT_TRUE(rig.raise(event, call)); }, trace};
}

INSTANTIATE_TEST_SUITE_P(Events, HandlerCases,
                         testing::Values(eventCase("OnRing", {}, {"enabled Annehmen 1"}),
                                         eventCase("OnConnecting", {"get ConnectionCount"}, {}),
                                         eventCase("OnConnected", {}, {}),
                                         eventCase("OnOffering", {}, {}),
                                         eventCase("OnDisConnected", {}, {"enabled Annehmen 0"}),
                                         eventCase("OnDisconnecting", {}, {}),
                                         eventCase("OnIdle", {}, {})),
                         testsupport::caseName);

TEST(CallEventHandlers, HandleTheirEventsByExactName)
{
    for (std::string_view name : phone::handledEvents)
        EXPECT_NE(events::CallEventHandlers::handlerFor(name), nullptr) << name;
    for (std::string_view name :
         {"OnDisconnected", "OnDisConnecting", "onring", "OnRing ", "OnRegistered", ""})
        EXPECT_EQ(events::CallEventHandlers::handlerFor(name), nullptr) << name;
}

TEST(CallEventHandlers, OnConnectingStoresTheCallAtTheCountItReads)
{
    HandlerRig rig;
    // Slot 10 is the last; a second call at the same count overwrites the first.
    const std::vector<std::pair<std::int32_t, std::int32_t>> countAndCall{
        {0, 100}, {10, 110}, {3, 103}, {3, 203}};
    for (const auto &[count, callId] : countAndCall) {
        rig.control.setAnswer(phone::dispid::ConnectionCount, count);
        ASSERT_TRUE(rig.raise(phone::event::OnConnecting, {u"", u"", callId}));
    }
    const std::array<std::int32_t, 11> expected{100, 0, 0, 203, 0, 0, 0, 0, 0, 0, 110};
    EXPECT_EQ(rig.eventHandlers.CallIDs().contents(), expected);
    EXPECT_EQ(rig.window.lines.size(), 4u);
    EXPECT_EQ(rig.eventHandlers.strEvent(), u"OnConnecting");
}

TEST(CallEventHandlers, OnConnectingOutsideTheTableWritesNothing)
{
    for (std::int32_t count : {11, -1, std::numeric_limits<std::int32_t>::min()}) {
        HandlerRig rig;
        rig.raise(phone::event::OnIdle, call);
        rig.take();
        rig.control.setAnswer(phone::dispid::ConnectionCount, count);
        try {
            rig.raise(phone::event::OnConnecting, call);
            ADD_FAILURE() << "no range error at count " << count;
        } catch (const phone::Error &error) {
            EXPECT_EQ(error.kind(), phone::ErrorKind::Range);
        }
        EXPECT_EQ(rig.take(), std::vector<std::string>{"get ConnectionCount"});
        EXPECT_EQ(rig.eventHandlers.CallIDs().contents(), (std::array<std::int32_t, 11>{}));
        EXPECT_EQ(rig.eventHandlers.strEvent(), u"OnIdle");
    }
}

TEST(CallEventHandlers, AnnehmenFollowsRingAndDisconnectionOnly)
{
    HandlerRig rig;
    const std::vector<std::pair<std::string_view, std::vector<std::string>>> steps{
        {phone::event::OnIdle, {}},
        {phone::event::OnDisConnected, {"enabled Annehmen 0"}},
        {phone::event::OnRing, {"enabled Annehmen 1"}},
        {phone::event::OnRing, {"enabled Annehmen 1"}},
        {phone::event::OnConnected, {}},
        {phone::event::OnDisConnected, {"enabled Annehmen 0"}},
    };
    for (const auto &[event, switches] : steps) {
        rig.raise(event, call);
        std::vector<std::string> seen;
        for (const std::string &line : rig.take()) {
            if (line.starts_with("enabled"))
                seen.push_back(line);
        }
        EXPECT_EQ(seen, switches) << event;
    }
}

} // namespace
