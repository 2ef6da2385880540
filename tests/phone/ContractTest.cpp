// The installed control's type information against the contract: what passes, what each kind
// of drift is reported as, and the finding's way from the host to the bench.
#include "phone/Contract.h"

#include "phone/Members.h"
#include "phone/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using namespace phone::contract;

constexpr Parameter bstr{vt::BSTR, false};
constexpr Parameter longValue{vt::I4, false};
constexpr Parameter longReference{vt::I4, true};

// As the test double declares itself, and a control made with Visual Basic would.
Description conforming()
{
    namespace id = phone::dispid;
    Description control;
    control.members = {
        {id::PopUp, "PopUp", Access::Get, {}},
        {id::PopUp, "PopUp", Access::Put, {{vt::BOOL, false}}},
        {id::ConnectionCount, "ConnectionCount", Access::Get, {}},
        {id::IncomingCallID, "IncomingCallID", Access::Get, {}},
        {id::LatestText, "LatestText", Access::Get, {}},
        {id::Dial, "Dial", Access::Method, {bstr}},
        {id::SendShortMessage, "SendShortMessage", Access::Method, {bstr, bstr}},
        {id::SendDTMF, "SendDTMF", Access::Method, {longReference, bstr}},
        {id::AcceptCall, "AcceptCall", Access::Method, {longReference}},
        {id::HangUp, "HangUp", Access::Method, {longValue}},
        {id::ConvertNumber, "ConvertNumber", Access::Method, {bstr}},
    };
    for (std::string_view name : phone::handledEvents) {
        // OnIdle as some controls declare it: VARIANT * throughout.
        const std::uint16_t text = name == "OnIdle" ? vt::VARIANT : vt::BSTR;
        const std::uint16_t number = name == "OnIdle" ? vt::VARIANT : vt::I4;
        control.events.push_back(
            {1, std::string(name), Access::Method, {{text, true}, {text, true}, {number, true}}});
    }
    return control;
}

Function &member(Description &control, std::string_view name, Access access)
{
    return *std::find_if(control.members.begin(), control.members.end(),
                         [&](const Function &f) { return f.name == name && f.access == access; });
}

std::vector<std::string> texts(const Finding &finding, Line::Verdict verdict)
{
    std::vector<std::string> lines;
    for (const Line &line : finding.lines) {
        if (line.verdict == verdict)
            lines.push_back(line.text);
    }
    return lines;
}

TEST(Contract, PassesAConformingControlLineByLine)
{
    const Finding finding = check(conforming());
    EXPECT_TRUE(finding.matches());
    EXPECT_EQ(finding.differences(), "");
    // Every member and event of the contract, nothing beyond it.
    ASSERT_EQ(finding.lines.size(), 11u + 7u);
    EXPECT_EQ(finding.lines[0].text, "PopUp 0x68030001 Eigenschaft lesen (): ok");
    EXPECT_EQ(finding.lines[1].text, "PopUp 0x68030001 Eigenschaft schreiben (short): ok");
    EXPECT_EQ(finding.lines[7].text, "SendDTMF 0x6003000C Methode (long *, BSTR): ok");
    EXPECT_EQ(finding.lines[11].text, "OnRing Ereignis (BSTR *, BSTR *, long *): ok");
}

struct Drift
{
    const char *name;
    std::function<void(Description &)> change;
    std::string differs;
};

class ContractDrift : public testing::TestWithParam<Drift>
{
};

TEST_P(ContractDrift, IsNamedInItsLine)
{
    Description control = conforming();
    GetParam().change(control);
    const Finding finding = check(control);
    EXPECT_FALSE(finding.matches());
    EXPECT_EQ(texts(finding, Line::Verdict::Differs), std::vector<std::string>{GetParam().differs});
    EXPECT_EQ(finding.differences(), GetParam().differs);
}

INSTANTIATE_TEST_SUITE_P(
    Contract, ContractDrift,
    testing::Values(
        Drift{"AnotherId",
              [](Description &c) { member(c, "Dial", Access::Method).id = 0x6003001A; },
              "Dial 0x6003000A Methode (BSTR): andere ID 0x6003001A"},
        Drift{"Missing",
              [](Description &c) {
                  std::erase_if(c.members, [](auto &f) { return f.name == "HangUp"; });
              },
              "HangUp 0x6003000F Methode (long): fehlt"},
        Drift{"AnotherKind",
              [](Description &c) {
                  member(c, "ConnectionCount", Access::Get).access = Access::Method;
              },
              "ConnectionCount 0x68030002 Eigenschaft lesen (): andere Art: Methode"},
        Drift{"ByValueInsteadOfByReference",
              [](Description &c) {
                  member(c, "AcceptCall", Access::Method).parameters = {longValue};
              },
              "AcceptCall 0x6003000E Methode (long *): andere Argumente (long)"},
        Drift{"A16BitIdentifier",
              [](Description &c) {
                  member(c, "HangUp", Access::Method).parameters = {{vt::I2, false}};
              },
              "HangUp 0x6003000F Methode (long): andere Argumente (short)"},
        Drift{"OneArgumentMore",
              [](Description &c) { member(c, "Dial", Access::Method).parameters.push_back(bstr); },
              "Dial 0x6003000A Methode (BSTR): andere Argumente (BSTR, BSTR)"},
        Drift{"IdAndArguments",
              [](Description &c) {
                  Function &dial = member(c, "SendShortMessage", Access::Method);
                  dial.id = 0x60030020;
                  dial.parameters = {bstr};
              },
              "SendShortMessage 0x6003000B Methode (BSTR, BSTR): andere ID 0x60030020, andere "
              "Argumente (BSTR)"},
        Drift{"ReadOnlyPopUp",
              [](Description &c) {
                  std::erase_if(c.members, [](auto &f) { return f.access == Access::Put; });
              },
              "PopUp 0x68030001 Eigenschaft schreiben (short): andere Art: Eigenschaft lesen"},
        Drift{"EventArgumentsByValue",
              [](Description &c) {
                  c.events[0].parameters = {bstr, bstr, longValue};
              },
              "OnRing Ereignis (BSTR *, BSTR *, long *): andere Argumente (BSTR, BSTR, long)"},
        Drift{"EventRenamed", [](Description &c) { c.events[4].name = "OnDisconnected"; },
              "OnDisConnected Ereignis (BSTR *, BSTR *, long *): fehlt"}),
    [](const testing::TestParamInfo<Drift> &info) { return std::string(info.param.name); });

TEST(Contract, ListsWhatIsBeyondItWithoutFailing)
{
    Description control = conforming();
    control.members.push_back({0x68040001, "LastCall", Access::Get, {}});
    control.members.push_back({0x6003000A, "Dial", Access::Put, {bstr}});
    control.events.push_back({8, "OnStatus", Access::Method, {{vt::BSTR, true}}});
    const Finding finding = check(control);
    EXPECT_TRUE(finding.matches());
    EXPECT_EQ(texts(finding, Line::Verdict::Beyond),
              (std::vector<std::string>{
                  "LastCall 0x68040001 Eigenschaft lesen (): über den Vertrag hinaus",
                  "Dial 0x6003000A Eigenschaft schreiben (BSTR): über den Vertrag hinaus",
                  "OnStatus Ereignis (BSTR *): über den Vertrag hinaus"}));
}

TEST(Contract, NamesTypesAsTheIdlWritesThem)
{
    EXPECT_EQ(typeName({vt::BOOL, false}), "VARIANT_BOOL");
    EXPECT_EQ(typeName({vt::VARIANT, true}), "VARIANT *");
    EXPECT_EQ(typeName({9, false}), "IDispatch *");
    EXPECT_EQ(typeName({0x1234, false}), "VT 4660");
}

TEST(Contract, FindingCrossesToTheBenchUnchanged)
{
    Description control = conforming();
    member(control, "Dial", Access::Method).id = 0x6003001A;
    control.members.push_back({1, "Grüße", Access::Get, {}});
    const Finding sent = check(control);
    const Finding received = decodeFinding(encode(sent));
    ASSERT_EQ(received.lines.size(), sent.lines.size());
    for (std::size_t i = 0; i < sent.lines.size(); ++i) {
        EXPECT_EQ(received.lines[i].verdict, sent.lines[i].verdict);
        EXPECT_EQ(received.lines[i].text, sent.lines[i].text);
    }
    EXPECT_EQ(received.differences(), sent.differences());
    // Anything else is no finding at all.
    EXPECT_TRUE(decodeFinding(u"?Dial: ok\n").lines.empty());
    EXPECT_TRUE(decodeFinding(u"").lines.empty());
}

struct Utf8Row
{
    const char *name;
    std::string bytes;
    std::u16string text;
};

class Utf8Reading : public testing::TestWithParam<Utf8Row>
{
};

TEST_P(Utf8Reading, RepairsWhatIsNoUtf8)
{
    EXPECT_EQ(phone::fromUtf8(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8Reading,
    testing::Values(Utf8Row{"Ascii", "Dial", u"Dial"},
                    Utf8Row{"Umlaut",
                            "Gr\xc3\xbc\xc3\x9f"
                            "e",
                            u"Grüße"},
                    Utf8Row{"BeyondTheBasicPlane", "\xf0\x9f\x98\x80", u"\U0001F600"},
                    Utf8Row{"LoneContinuation",
                            "a\x80"
                            "b",
                            u"a\xFFFD"
                            "b"},
                    Utf8Row{"Overlong", "\xc0\xaf", u"\xFFFD\xFFFD"},
                    Utf8Row{"EncodedSurrogate", "\xed\xa0\x80", u"\xFFFD\xFFFD\xFFFD"},
                    Utf8Row{"Truncated", "\xe2\x82", u"\xFFFD\xFFFD"},
                    Utf8Row{"BeyondUnicode", "\xf4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"}),
    [](const testing::TestParamInfo<Utf8Row> &info) { return std::string(info.param.name); });

TEST(Utf8, RoundTripsEveryScalarValueKind)
{
    const std::u16string text = u"a\u00e4\u20ac\U0001F600z";
    EXPECT_EQ(phone::fromUtf8(phone::toUtf8(text)), text);
}

} // namespace
