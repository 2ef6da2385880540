#include "ContainerLog.h"

namespace tervani_double {

namespace {

// The tests and the doubles share one thread.
std::wstring &log()
{
    static std::wstring calls;
    return calls;
}

} // namespace

void recordContainerCall(const std::wstring &call)
{
    if (!log().empty())
        log() += L", ";
    log() += call;
}

const std::wstring &containerCalls()
{
    return log();
}

void forgetContainerCalls()
{
    log().clear();
}

} // namespace tervani_double
