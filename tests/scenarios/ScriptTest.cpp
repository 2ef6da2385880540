// Reading script lines: the holding steps, and malformed or hostile lines refused with a short,
// readable reason, whatever their length or bytes.
#include "tools/scenario/Script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using scenario::parseStep;
using scenario::ScriptError;

std::string refusal(const std::string &line)
{
    try {
        parseStep(line);
    } catch (const ScriptError &error) {
        return error.what();
    }
    return "(accepted)";
}

struct Refused
{
    const char *name;
    std::string line;
    std::string reason;
};

class RefusedLine : public testing::TestWithParam<Refused>
{
};

TEST_P(RefusedLine, SaysWhy)
{
    EXPECT_EQ(refusal(GetParam().line), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Script, RefusedLine,
    testing::Values(
        Refused{"WhileBoxHoldingWhileBox", "while-box while-box dump",
                "while-box cannot hold while-box"},
        Refused{"WhileBoxHoldingWhileCall", "while-box while-call Dial dump",
                "while-box cannot hold while-call"},
        Refused{"WhileCallHoldingWhileBox", "while-call Dial while-box dump",
                "while-call cannot hold while-box"},
        Refused{"AndHoldingAnd", "and and dump", "and cannot hold and"},
        Refused{"WhileBoxHoldingAnd", "while-box and dump", "while-box cannot hold and"},
        Refused{"WhileCallWithoutStep", "while-call Dial", "while-call needs a member and a step"},
        Refused{"WhileCallHoldingAComment", "while-call Dial # later", "while-call needs a step"},
        Refused{"AndWithoutStep", "and", "and needs a step"},
        Refused{"WhileCallOfNoMember", "while-call Wählen dump", "unknown member Wählen"},
        Refused{"HeldStepMalformed", "while-call Dial click Nirgends", "unknown control Nirgends"},
        Refused{"BareWordHintsAtQuotes", "value LatestText abc",
                "not a value: abc (a text is written in quotes: \"abc\")"},
        Refused{"NoHintForAMistypedNumber", "value LatestText 12x", "not a value: 12x"},
        Refused{"ControlCharactersEscaped", std::string("click BTN\x01\x1b[2J"),
                "unknown control BTN\\x01\\x1B[2J"},
        Refused{"InvalidUtf8NamedByOffset", "type TXT_Nummer \"01\xff\"",
                "invalid UTF-8 at byte offset 19 (\\xFF)"},
        Refused{"TruncatedSequenceNamedByOffset", "event OnRing \"\xc3\" \"b\" 1",
                "invalid UTF-8 at byte offset 14 (\\xC3)"},
        Refused{"LongTokenCut", "unknown" + std::string(200, 'x'),
                "unknown step unknown" + std::string(73, 'x') + "…"}),
    [](const testing::TestParamInfo<Refused> &info) { return std::string(info.param.name); });

TEST(Script, RefusesAHugeLineOfHoldingStepsAtItsSecondWord)
{
    std::string line;
    for (int i = 0; i < 200000; ++i)
        line += "while-box ";
    line += "dump";
    EXPECT_EQ(refusal(line), "while-box cannot hold while-box");
}

TEST(Script, KeepsMessagesShortForHugeTokens)
{
    const std::string reason = refusal("click " + std::string(10 * 1024 * 1024, '\0'));
    std::string escaped;
    for (int i = 0; i < 80; ++i)
        escaped += "\\x00";
    EXPECT_EQ(reason, "unknown control " + escaped + "…");
}

TEST(Script, ReadsWhileCallAndAnd)
{
    const auto whileCall =
        parseStep("  while-call  ConnectionCount   event OnIdle \"a b\" \"c\" 3 ");
    ASSERT_TRUE(whileCall);
    EXPECT_EQ(whileCall->text, "while-call  ConnectionCount   event OnIdle \"a b\" \"c\" 3");
    const auto *held = std::get_if<scenario::WhileCall>(&whileCall->action);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->member->name, "ConnectionCount");
    EXPECT_EQ(held->held->text, "event OnIdle \"a b\" \"c\" 3");
    const auto *event = std::get_if<scenario::RaiseEvent>(&held->held->action);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->name, "OnIdle");

    const auto also = parseStep("and value LatestText \"x\"");
    ASSERT_TRUE(also);
    const auto *and_ = std::get_if<scenario::And>(&also->action);
    ASSERT_NE(and_, nullptr);
    EXPECT_TRUE(std::holds_alternative<scenario::SetValue>(and_->held->action));
}

} // namespace
