// Every member of the contract reached by its dispatch identifier, with the argument types
// the control declares, through the typed facade the window uses.

#include "TestSupport.h"

#include "phone/Members.h"
#include "phone/TervaniFacade.h"

namespace tervani_tests {
namespace {

namespace contract = phone::dispid;

struct MemberCall
{
    const char *name;
    std::function<void(phone::TervaniFacade &)> call;
    // What the double received: member, argument types and values in call order.
    std::string received;
};

void PrintTo(const MemberCall &call, std::ostream *out)
{
    *out << call.name;
}

const MemberCall memberCalls[] = {
    {"Dial", [](phone::TervaniFacade &t) { t.Dial(u"0123 45"); }, "Dial(BSTR 0123 45)"},
    {"SendShortMessage", [](phone::TervaniFacade &t) { t.SendShortMessage(u"0170", u"Grüße"); },
     "SendShortMessage(BSTR 0170, BSTR Grüße)"},
    {"SendDTMF", [](phone::TervaniFacade &t) { t.SendDTMF(7, u"12#"); },
     "SendDTMF(ref I4 7, BSTR 12#)"},
    {"AcceptCall", [](phone::TervaniFacade &t) { t.AcceptCall(9); }, "AcceptCall(ref I4 9)"},
    {"HangUp", [](phone::TervaniFacade &t) { t.HangUp(-3); }, "HangUp(I4 -3)"},
    {"ConvertNumber", [](phone::TervaniFacade &t) { t.ConvertNumber(u"(012) 34 55 66"); },
     "ConvertNumber(BSTR (012) 34 55 66)"},
    {"PopUpWrite", [](phone::TervaniFacade &t) { t.setPopUp(1); }, "PopUp=I2 1"},
};

class MemberCallTest : public ControlTest, public testing::WithParamInterface<MemberCall>
{
};

TEST_P(MemberCallTest, ReachesTheMemberWithTheDeclaredArguments)
{
    phone::TervaniFacade tervani(*control);
    GetParam().call(tervani);
    EXPECT_EQ(lastCall(), GetParam().received);
}

INSTANTIATE_TEST_SUITE_P(Members, MemberCallTest, testing::ValuesIn(memberCalls),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(ControlTest, PropertiesArriveWithTheControlsTypes)
{
    EXPECT_EQ(control->getProperty(contract::PopUp), phone::Value{true});
    EXPECT_EQ(control->getProperty(contract::ConnectionCount), phone::Value{std::int32_t{0}});
    EXPECT_EQ(control->getProperty(contract::IncomingCallID), phone::Value{std::int32_t{0}});
    EXPECT_EQ(show(control->getProperty(contract::LatestText)), "Grüße vom Softphone");
}

TEST_F(ControlTest, PopUpWrittenAsSixteenBitIntegerReadsBack)
{
    phone::TervaniFacade tervani(*control);
    tervani.setPopUp(0);
    EXPECT_FALSE(tervani.PopUp());
    tervani.setPopUp(1);
    EXPECT_TRUE(tervani.PopUp());
}

TEST_F(ControlTest, ReadsAreNeverCached)
{
    phone::TervaniFacade tervani(*control);
    EXPECT_EQ(tervani.ConnectionCount(), 0);
    tervani.Dial(u"0123");
    EXPECT_EQ(tervani.ConnectionCount(), 1);
    EXPECT_EQ(utf8(tervani.LatestText()), "Wähle 0123");
    tervani.AcceptCall(5);
    EXPECT_EQ(tervani.ConnectionCount(), 2);
    tervani.HangUp(5);
    EXPECT_EQ(tervani.ConnectionCount(), 1);
}

TEST_F(ControlTest, ConvertNumberReturnsTheControlsText)
{
    phone::TervaniFacade tervani(*control);
    EXPECT_EQ(tervani.ConvertNumber(u"(012) 34 55 66"), u"012345566");
}

TEST_F(ControlTest, TextKeepsEveryCodeUnit)
{
    // An embedded NUL and a character outside the basic plane survive both directions.
    const std::u16string number{u'0', u'\0', u'1', u'\xD83D', u'\xDE00'};
    phone::TervaniFacade tervani(*control);
    tervani.Dial(number);
    EXPECT_EQ(control->getProperty(contract::LatestText), phone::Value{u"Wähle " + number});
}

TEST_F(ControlTest, ByReferenceArgumentsAreCopiesWhoseWritesAreDropped)
{
    // The double writes -1 into every by-reference identifier it receives.
    std::vector<phone::Argument> dtmf{{std::int32_t{7}, true}, {u"12#"}};
    control->invoke(contract::SendDTMF, dtmf);
    EXPECT_EQ(dtmf[0].value, phone::Value{std::int32_t{7}});
    EXPECT_EQ(lastCall(), "SendDTMF(ref I4 7, BSTR 12#)");

    std::vector<phone::Argument> accept{{std::int32_t{9}, true}};
    control->invoke(contract::AcceptCall, accept);
    EXPECT_EQ(accept[0].value, phone::Value{std::int32_t{9}});
    EXPECT_EQ(lastCall(), "AcceptCall(ref I4 9)");
}

TEST_F(ControlTest, MethodWithoutResultReturnsEmpty)
{
    std::vector<phone::Argument> dial{{u"0123"}};
    EXPECT_EQ(control->invoke(contract::Dial, dial), phone::Value{phone::Empty{}});
}

TEST_F(ControlTest, ControlRunsInUserModeAndIsInitialisedAfterItsSite)
{
    EXPECT_EQ(control->getProperty(tervani_double::dispid::SiteUserMode), phone::Value{true});
    EXPECT_EQ(control->getProperty(tervani_double::dispid::InitialisedWithSite),
              phone::Value{true});
}

} // namespace
} // namespace tervani_tests
