// Reading script lines: the holding steps, and malformed or hostile lines refused with a short,
// readable reason, whatever their length or bytes.
#include "tools/scenario/Script.h"

#include <gtest/gtest.h>

#include <chrono>
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
                "unknown step unknown" + std::string(73, 'x') + "…"},
        Refused{"WaitNegative", "wait -1", "not a number of seconds: -1"},
        Refused{"WaitWithExponent", "wait 1e3", "not a number of seconds: 1e3"},
        Refused{"WaitWithComma", "wait 1,5", "not a number of seconds: 1,5"},
        Refused{"WaitPointWithoutFraction", "wait 5.", "not a number of seconds: 5."},
        Refused{"WaitOverAnHour", "wait 3601", "at most 3600 seconds: 3601"},
        Refused{"WaitHugeNumber", "wait 99999999999999999999999",
                "at most 3600 seconds: 99999999999999999999999"},
        Refused{"WaitLineWithoutSeconds", "wait-line \"x\"", "wait-line takes 2 argument(s)"},
        Refused{"WaitLineBareWord", "wait-line Ereignis 5",
                "not a value: Ereignis (a text is written in quotes: \"Ereignis\")"},
        Refused{"WaitLineNumberForText", "wait-line 5 5", "not a text: 5"},
        Refused{"ExpectTheLog", "expect LST_Message \"*\"",
                "LST_Message cannot be expected: wait-line reads its lines"},
        Refused{"ExpectNoControl", "expect Nirgends \"1\"", "unknown control Nirgends"},
        Refused{"ExpectANumber", "expect BTN_Dial 1", "not a text: 1"}),
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

struct Duration
{
    const char *name;
    const char *seconds;
    std::chrono::milliseconds expected;
};

class WaitDuration : public testing::TestWithParam<Duration>
{
};

// A finer rest than a millisecond rounds up: a wait is never shorter than written.
TEST_P(WaitDuration, IsReadToTheMillisecond)
{
    const auto step = parseStep(std::string("wait ") + GetParam().seconds);
    ASSERT_TRUE(step);
    const auto *wait = std::get_if<scenario::Wait>(&step->action);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->duration, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Script, WaitDuration,
    testing::Values(Duration{"Zero", "0", std::chrono::milliseconds(0)},
                    Duration{"Whole", "12", std::chrono::milliseconds(12000)},
                    Duration{"Tenths", "0.5", std::chrono::milliseconds(500)},
                    Duration{"Milliseconds", "1.234", std::chrono::milliseconds(1234)},
                    Duration{"FinerRoundsUp", "0.0001", std::chrono::milliseconds(1)},
                    Duration{"TrailingZerosAreExact", "2.5000000", std::chrono::milliseconds(2500)},
                    Duration{"LeadingZeros", "0003600", std::chrono::milliseconds(3600000)},
                    Duration{"TheLimit", "3600.000", std::chrono::milliseconds(3600000)}),
    [](const testing::TestParamInfo<Duration> &info) { return std::string(info.param.name); });

// A live run refuses the steps that script the control, and a report lists the checks, held
// ones too.
TEST(Script, SortsStepsForLiveRunsAndReports)
{
    struct Row
    {
        const char *line;
        bool onlyScripted;
        bool check;
    };
    for (const Row &row : {
             Row{"value PopUp bool:true", true, false},
             Row{"fail Dial", true, false},
             Row{"event OnRing \"1\" \"2\" 3", true, false},
             Row{"while-call Dial click BTN_Clear", true, false},
             Row{"while-call Dial expect BTN_Dial \"1\"", true, true},
             Row{"and expect BTN_Dial \"1\"", true, true},
             Row{"while-box expect BTN_Dial \"1\"", false, true},
             Row{"while-box click BTN_Clear", false, false},
             Row{"click BTN_Dial", false, false},
             Row{"wait 1", false, false},
             Row{"wait-line \"*\" 1", false, true},
             Row{"expect CHK_PopUp \"0\"", false, true},
         }) {
        const auto step = parseStep(row.line);
        ASSERT_TRUE(step) << row.line;
        EXPECT_EQ(scenario::onlyInScriptedRuns(step->action), row.onlyScripted) << row.line;
        EXPECT_EQ(scenario::checks(step->action), row.check) << row.line;
    }
}

} // namespace
