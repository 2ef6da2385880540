// The patterns of wait-line and expect: whole-text matches with * and ?, their escapes, and
// characters beyond one UTF-16 unit.
#include "tools/scenario/Pattern.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Row
{
    const char *name;
    std::u16string pattern;
    std::u16string text;
    bool matches;
};

class PatternMatch : public testing::TestWithParam<Row>
{
};

TEST_P(PatternMatch, AsWritten)
{
    EXPECT_EQ(scenario::Pattern(GetParam().pattern).matches(GetParam().text), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Pattern, PatternMatch,
    testing::Values(
        Row{"ExactText", u"Anzahl Verbindungen:  1", u"Anzahl Verbindungen:  1", true},
        Row{"WholeTextOnly", u"Verbindungen", u"Anzahl Verbindungen:  1", false},
        Row{"PrefixIsNoMatch", u"Anzahl", u"Anzahl Verbindungen", false},
        Row{"EmptyMatchesEmpty", u"", u"", true}, Row{"EmptyMatchesNothingElse", u"", u" ", false},
        Row{"StarMatchesEmpty", u"*", u"", true},
        Row{"StarInTheMiddle", u"Ereignis: * (ID: 3)*", u"Ereignis: OnRing (ID: 3) - x", true},
        Row{"StarNeedsWhatFollows", u"*OnRing", u"OnRing - ", false},
        Row{"StarsBackTrack", u"*a*b*c", u"xaxbxaxbxc", true},
        Row{"StarsFailAtTheEnd", u"*a*b*c", u"xaxbxaxbx", false},
        Row{"QuestionTakesOne", u"0?01", u"0301", true},
        Row{"QuestionNeedsOne", u"0?01", u"001", false},
        Row{"QuestionTakesAnUmlaut", u"Gr??e", u"Grüße", true},
        Row{"QuestionTakesASurrogatePair", u"a?b", u"a\U0001F600b", true},
        Row{"TwoQuestionsAreNoPair", u"a??b", u"a\U0001F600b", false},
        Row{"EscapedStar", u"1 \\* 2", u"1 * 2", true},
        Row{"EscapedStarIsNoWildcard", u"1 \\* 2", u"1 x 2", false},
        Row{"EscapedQuestion", u"wer\\?", u"wer?", true},
        Row{"EscapedQuestionIsNoWildcard", u"wer\\?", u"wer!", false},
        Row{"EscapedBackslash", u"C:\\\\*", u"C:\\Temp", true},
        Row{"OtherBackslashIsItself", u"C:\\Temp", u"C:\\Temp", true},
        Row{"TrailingBackslashIsItself", u"a\\", u"a\\", true},
        Row{"CaseCounts", u"onring", u"OnRing", false},
        Row{"LoneSurrogateIsACharacter", std::u16string(u"?"), std::u16string(1, u'\xD800'), true}),
    [](const testing::TestParamInfo<Row> &info) { return std::string(info.param.name); });

// Many stars over a long text that almost matches: bounded by length × length, no recursion.
TEST(Pattern, StaysQuickOnHostileInput)
{
    const scenario::Pattern pattern(std::u16string(2000, u'*') + u"b");
    EXPECT_FALSE(pattern.matches(std::u16string(20000, u'a')));
    EXPECT_TRUE(pattern.matches(std::u16string(20000, u'a') + u"b"));
}

} // namespace
