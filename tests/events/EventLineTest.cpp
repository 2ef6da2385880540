#include "events/EventLog.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct LineCase
{
    const char *name;
    std::u16string event, calling, called;
    std::int32_t id;
    std::u16string expected;
};

class EventLine : public testing::TestWithParam<LineCase>
{
};

TEST_P(EventLine, IsJoinedPieceByPiece)
{
    const LineCase &c = GetParam();
    EXPECT_EQ(events::formatEventLine(c.event, c.calling, c.called, c.id), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EventLine,
    testing::Values(
        LineCase{"positive_id_gets_a_blank", u"OnRing", u"123", u"45", 7,
                 u"Ereignis: OnRing (ID: 7) -    Nummer: 123 - MSN: 45"},
        LineCase{"negative_id_gets_no_blank", u"OnRing", u"123", u"45", -7,
                 u"Ereignis: OnRing (ID:-7) -    Nummer: 123 - MSN: 45"},
        LineCase{"zero_counts_as_positive", u"OnIdle", u"1", u"2", 0,
                 u"Ereignis: OnIdle (ID: 0) -    Nummer: 1 - MSN: 2"},
        LineCase{"empty_numbers_leave_the_blanks", u"OnIdle", u"", u"", -1,
                 u"Ereignis: OnIdle (ID:-1) -    Nummer:  - MSN: "},
        LineCase{"empty_event_name", u"", u"1", u"2", 3,
                 u"Ereignis:  (ID: 3) -    Nummer: 1 - MSN: 2"},
        LineCase{"smallest_id", u"OnRing", u"1", u"2", std::numeric_limits<std::int32_t>::min(),
                 u"Ereignis: OnRing (ID:-2147483648) -    Nummer: 1 - MSN: 2"},
        LineCase{"largest_id", u"OnRing", u"1", u"2", std::numeric_limits<std::int32_t>::max(),
                 u"Ereignis: OnRing (ID: 2147483647) -    Nummer: 1 - MSN: 2"},
        LineCase{"texts_go_in_unchanged", u"OnRing", u"  +49 (30) \"x\" ", u"Müller\u200F", 1,
                 u"Ereignis: OnRing (ID: 1) -    Nummer:   +49 (30) \"x\"  - MSN: Müller\u200F"},
        LineCase{"embedded_nul_is_kept", u"OnRing", std::u16string(u"a\0b", 3), u"", 1,
                 std::u16string(u"Ereignis: OnRing (ID: 1) -    Nummer: a\0b - MSN: ", 49)}),
    [](const testing::TestParamInfo<LineCase> &info) { return info.param.name; });

} // namespace
