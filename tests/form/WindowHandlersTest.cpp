#include "form/WindowHandlers.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "tests/support/HandlerCaseSuite.h"

#include <gtest/gtest.h>

namespace {

using form::Control;
using form::WindowHandlers;
using testsupport::HandlerCase;
using testsupport::HandlerCases;
using testsupport::HandlerRig;

std::function<void(HandlerRig &)> popUpAnswers(phone::Value value)
{
    return [value](HandlerRig &rig) {
        rig.control.setAnswer(phone::dispid::PopUp, value);
    };
}

std::function<void(HandlerRig &)> boxShows(int value)
{
    return [value](HandlerRig &rig) {
        rig.window.values[Control::CHK_PopUp] = value;
    };
}

std::function<void(HandlerRig &)> run(void (WindowHandlers::*handler)())
{
    return [handler](HandlerRig &rig) {
        (rig.windowHandlers.*handler)();
    };
}

INSTANTIATE_TEST_SUITE_P(
    Window, HandlerCases,
    testing::Values(
        // The load step mirrors the flag and writes nothing back.
        HandlerCase{"LoadTrue",
                    popUpAnswers(true),
                    run(&WindowHandlers::Form1_Load),
                    {"get PopUp", "setValue CHK_PopUp 1"}},
        HandlerCase{"LoadFalse",
                    popUpAnswers(false),
                    run(&WindowHandlers::Form1_Load),
                    {"get PopUp", "setValue CHK_PopUp 0"}},
        HandlerCase{"LoadNumericText",
                    popUpAnswers(std::u16string(u"-1")),
                    run(&WindowHandlers::Form1_Load),
                    {"get PopUp", "setValue CHK_PopUp 1"}},
        HandlerCase{"PopUpTicked",
                    boxShows(1),
                    run(&WindowHandlers::CHK_PopUp_clicked),
                    {"value CHK_PopUp", "put PopUp i2:1"}},
        HandlerCase{"PopUpCleared",
                    boxShows(0),
                    run(&WindowHandlers::CHK_PopUp_clicked),
                    {"value CHK_PopUp", "put PopUp i2:0"}},
        HandlerCase{"Clear", {}, run(&WindowHandlers::BTN_Clear_clicked), {"clearList"}},
        HandlerCase{"Exit", {}, run(&WindowHandlers::BTN_Exit_clicked), {"unload"}}),
    testsupport::caseName);

TEST(WindowHandlers, LoadLeavesTheBoxAloneWhenThePopUpFlagIsNoTruthValue)
{
    for (const phone::Value &answer :
         {phone::Value{std::u16string(u"vielleicht")}, phone::Value{phone::Null{}}}) {
        HandlerRig rig;
        rig.control.setAnswer(phone::dispid::PopUp, answer);
        EXPECT_THROW(rig.windowHandlers.Form1_Load(), phone::Error);
        EXPECT_EQ(rig.take(), std::vector<std::string>{"get PopUp"});
        EXPECT_FALSE(rig.window.values.contains(Control::CHK_PopUp));
    }
}

TEST(WindowHandlers, ClearingTouchesNeitherLabelsNorTheTable)
{
    HandlerRig rig;
    rig.control.setAnswer(phone::dispid::ConnectionCount, 1);
    rig.raise(phone::event::OnConnecting, {u"1", u"2", 5});
    const auto captions = rig.window.captions;
    rig.windowHandlers.BTN_Clear_clicked();
    EXPECT_TRUE(rig.window.lines.empty());
    EXPECT_EQ(rig.window.captions, captions);
    EXPECT_EQ(rig.eventHandlers.CallIDs().fetch(1), 5);
    EXPECT_EQ(rig.eventHandlers.strEvent(), u"OnConnecting");
}

} // namespace
