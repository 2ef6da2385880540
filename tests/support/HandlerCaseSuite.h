#pragma once

// The two checks every handler case gets, included once by each folder's handler test:
// the handler's whole trace in order, and its stop at each of its accesses to the control in
// turn: with that access failing, the handler stops right there, and what it did before stays
// done (nothing is retried or undone).

#include "tests/support/HandlerRig.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace testsupport {

class HandlerCases : public testing::TestWithParam<HandlerCase>
{
};

inline void PrintTo(const HandlerCase &handlerCase, std::ostream *out)
{
    *out << handlerCase.name;
}

inline std::string caseName(const testing::TestParamInfo<HandlerCase> &info)
{
    return info.param.name;
}

TEST_P(HandlerCases, AccessesInOrder)
{
    const Outcome outcome = runCase(GetParam());
    EXPECT_FALSE(outcome.threw);
    EXPECT_EQ(outcome.trace, GetParam().trace);
}

TEST_P(HandlerCases, StopsAtEachFailingAccess)
{
    const std::vector<std::size_t> accesses = controlAccesses(GetParam().trace);
    for (std::size_t n = 0; n < accesses.size(); ++n) {
        SCOPED_TRACE("access " + std::to_string(n) + ": " + GetParam().trace[accesses[n]]);
        const Outcome outcome = runCase(GetParam(), static_cast<int>(n));
        EXPECT_TRUE(outcome.threw);
        const auto end = GetParam().trace.begin() + static_cast<std::ptrdiff_t>(accesses[n]) + 1;
        EXPECT_EQ(outcome.trace, std::vector<std::string>(GetParam().trace.begin(), end));
    }
}

} // namespace testsupport
