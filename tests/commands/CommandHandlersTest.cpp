#include "commands/CommandHandlers.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "tests/support/HandlerCaseSuite.h"

#include <gtest/gtest.h>

namespace {

using commands::CommandHandlers;
using form::Control;
using testsupport::HandlerCase;
using testsupport::HandlerCases;
using testsupport::HandlerRig;

// Two calls connected (slots 1 and 2 hold 5 and 6), an incoming call 9, and every field typed.
void twoCallsAndTypedFields(HandlerRig &rig)
{
    for (const auto &[count, callId] : {std::pair{1, 5}, std::pair{2, 6}}) {
        rig.control.setAnswer(phone::dispid::ConnectionCount, count);
        rig.raise(phone::event::OnConnecting, {u"111", u"222", callId});
    }
    rig.control.setAnswer(phone::dispid::IncomingCallID, 9);
    rig.control.setAnswer(phone::dispid::ConvertNumber, std::u16string(u"012345566"));
    rig.window.texts = {{Control::TXT_Nummer, u"0301234"},
                        {Control::TXT_SMS, u"Hallo"},
                        {Control::TXT_DTMF, u"123#"},
                        {Control::TXT_Konvert, u"(012) 34 55 66"}};
}

// The same, with the control now reporting another count.
std::function<void(HandlerRig &)> atCount(std::int32_t count)
{
    return [count](HandlerRig &rig) {
        twoCallsAndTypedFields(rig);
        rig.control.setAnswer(phone::dispid::ConnectionCount, count);
    };
}

std::function<void(HandlerRig &)> click(void (CommandHandlers::*handler)())
{
    return [handler](HandlerRig &rig) {
        (rig.commandHandlers.*handler)();
    };
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HandlerCases,
    testing::Values(
        HandlerCase{"Dial",
                    twoCallsAndTypedFields,
                    click(&CommandHandlers::BTN_Dial_clicked),
                    {"text TXT_Nummer", "call Dial \"0301234\""}},
        HandlerCase{"DialEmpty",
                    {},
                    click(&CommandHandlers::BTN_Dial_clicked),
                    {"text TXT_Nummer", "call Dial \"\""}},
        HandlerCase{"Accept",
                    twoCallsAndTypedFields,
                    click(&CommandHandlers::Annehmen_clicked),
                    {"get IncomingCallID", "call AcceptCall &9"}},
        HandlerCase{
            "HangUp",
            twoCallsAndTypedFields,
            click(&CommandHandlers::BTN_Disconnect_clicked),
            {"get ConnectionCount", "box 0 * \"2 = 6 wird jetzt beendet\"", "call HangUp 6"}},
        HandlerCase{
            "HangUpSlotNeverWritten",
            atCount(3),
            click(&CommandHandlers::BTN_Disconnect_clicked),
            {"get ConnectionCount", "box 0 * \"3 = 0 wird jetzt beendet\"", "call HangUp 0"}},
        HandlerCase{"HangUpWithoutConnection",
                    atCount(0),
                    click(&CommandHandlers::BTN_Disconnect_clicked),
                    {"get ConnectionCount", "box 0 * \"0 = 0 wird jetzt beendet\"",
                     "box 64 \"Gespräch beenden\" \"Kein Gespräch vorhanden\""}},
        HandlerCase{"Dtmf",
                    twoCallsAndTypedFields,
                    click(&CommandHandlers::BTN_DTMF_clicked),
                    {"get ConnectionCount", "text TXT_DTMF", "call SendDTMF &6 \"123#\""}},
        HandlerCase{"DtmfWithoutConnection",
                    atCount(0),
                    click(&CommandHandlers::BTN_DTMF_clicked),
                    {"get ConnectionCount", "text TXT_DTMF", "call SendDTMF &0 \"123#\""}},
        HandlerCase{
            "ShortMessage",
            twoCallsAndTypedFields,
            click(&CommandHandlers::BTN_SMS_clicked),
            {"text TXT_Nummer", "text TXT_SMS", "call SendShortMessage \"0301234\" \"Hallo\""}},
        HandlerCase{"Convert",
                    twoCallsAndTypedFields,
                    click(&CommandHandlers::BTN_Konvert_clicked),
                    {"text TXT_Konvert", "call ConvertNumber \"(012) 34 55 66\"",
                     "setText TXT_Konvert \"012345566\""}},
        HandlerCase{"ConvertBlanksIsNotEmpty",
                    [](HandlerRig &rig) { rig.window.texts[Control::TXT_Konvert] = u"  "; },
                    click(&CommandHandlers::BTN_Konvert_clicked),
                    {"text TXT_Konvert", "call ConvertNumber \"  \"", "setText TXT_Konvert \"\""}},
        HandlerCase{"ConvertEmptyCallsNothing",
                    [](HandlerRig &rig) { rig.window.texts[Control::TXT_Konvert] = u""; },
                    click(&CommandHandlers::BTN_Konvert_clicked),
                    {"text TXT_Konvert"}},
        HandlerCase{"RestoreSample",
                    twoCallsAndTypedFields,
                    click(&CommandHandlers::TXT_Konvert_doubleClicked),
                    {"setText TXT_Konvert \"(012) 34 55 66\""}}),
    testsupport::caseName);

TEST(CommandHandlers, CountsOutsideTheTableStopBeforeAnyBoxOrCall)
{
    for (auto handler :
         {&CommandHandlers::BTN_Disconnect_clicked, &CommandHandlers::BTN_DTMF_clicked}) {
        for (std::int32_t count : {11, -1}) {
            HandlerRig rig;
            atCount(count)(rig);
            rig.take();
            try {
                (rig.commandHandlers.*handler)();
                ADD_FAILURE() << "no range error at count " << count;
            } catch (const phone::Error &error) {
                EXPECT_EQ(error.kind(), phone::ErrorKind::Range);
            }
            EXPECT_EQ(rig.take(), std::vector<std::string>{"get ConnectionCount"});
        }
    }
}

TEST(CommandHandlers, HangUpSendsWhatTheSlotHoldsOnceTheBoxIsClosed)
{
    HandlerRig rig;
    twoCallsAndTypedFields(rig);
    // A new call at the same count arrives while the box is open.
    rig.window.whileBoxOpen = [&rig] {
        rig.raise(phone::event::OnConnecting, {u"333", u"444", 17});
    };
    rig.take();
    rig.commandHandlers.BTN_Disconnect_clicked();
    const std::vector<std::string> trace = rig.take();
    EXPECT_EQ(trace.front(), "get ConnectionCount");
    EXPECT_EQ(trace[1], "box 0 * \"2 = 6 wird jetzt beendet\"");
    EXPECT_EQ(trace.back(), "call HangUp 17");
}

TEST(CommandHandlers, ConvertingTwicePassesTheFirstResultOn)
{
    HandlerRig rig;
    twoCallsAndTypedFields(rig);
    rig.commandHandlers.BTN_Konvert_clicked();
    rig.control.setAnswer(phone::dispid::ConvertNumber, std::u16string(u"+4912345566"));
    rig.take();
    rig.commandHandlers.BTN_Konvert_clicked();
    EXPECT_EQ(rig.take(),
              (std::vector<std::string>{"text TXT_Konvert", "call ConvertNumber \"012345566\"",
                                        "setText TXT_Konvert \"+4912345566\""}));
}

TEST(CommandHandlers, AFailedConversionKeepsTheField)
{
    HandlerRig rig;
    twoCallsAndTypedFields(rig);
    rig.control.setFailing(phone::dispid::ConvertNumber);
    EXPECT_THROW(rig.commandHandlers.BTN_Konvert_clicked(), phone::Error);
    EXPECT_EQ(rig.window.texts[Control::TXT_Konvert], u"(012) 34 55 66");
}

} // namespace
