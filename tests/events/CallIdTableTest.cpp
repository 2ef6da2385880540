#include "events/CallIdTable.h"

#include "phone/Error.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using events::CallIdTable;

TEST(CallIdTable, EverySlotFromZeroToTenHoldsItsOwnIdentifier)
{
    CallIdTable table;
    for (std::int32_t slot = 0; slot <= 10; ++slot)
        table.store(slot, 100 + slot);
    for (std::int32_t slot = 0; slot <= 10; ++slot)
        EXPECT_EQ(table.fetch(slot), 100 + slot);
}

TEST(CallIdTable, StartsAtZeroAndTheLaterIdentifierWins)
{
    CallIdTable table;
    EXPECT_EQ(table.fetch(3), 0);
    table.store(3, 5);
    table.store(3, -9);
    EXPECT_EQ(table.fetch(3), -9);
}

TEST(CallIdTable, IndexesOutsideTheTableAreRangeErrorsAndChangeNothing)
{
    for (std::int32_t index : {11, 12, -1, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()}) {
        CallIdTable table;
        table.store(0, 1);
        try {
            table.store(index, 42);
            FAIL() << "store(" << index << ") succeeded";
        } catch (const phone::Error &error) {
            EXPECT_EQ(error.kind(), phone::ErrorKind::Range);
        }
        EXPECT_THROW(table.fetch(index), phone::Error) << index;
        CallIdTable untouched;
        untouched.store(0, 1);
        EXPECT_EQ(table.contents(), untouched.contents()) << index;
    }
}

} // namespace
