#include "tests/support/HandlerRig.h"

#include "phone/Error.h"

#include <utility>

namespace testsupport {

HandlerRig::HandlerRig()
{
    control.onAccess([this](const phone::scripted::Access &access) {
        trace.push_back(phone::scripted::accessLine(access));
    });
}

bool HandlerRig::raise(std::string_view eventName, const phone::CallEvent &event)
{
    const auto handler = events::CallEventHandlers::handlerFor(eventName);
    if (!handler)
        return false;
    (eventHandlers.*handler)(event);
    return true;
}

std::vector<std::string> HandlerRig::take()
{
    return std::exchange(trace, {});
}

Outcome runCase(const HandlerCase &handlerCase, std::optional<int> failingAccess)
{
    HandlerRig rig;
    if (handlerCase.setup)
        handlerCase.setup(rig);
    rig.take();
    if (failingAccess)
        rig.control.failAccess(rig.control.accessCount() + *failingAccess);
    Outcome outcome;
    try {
        handlerCase.run(rig);
    } catch (const phone::Error &) {
        outcome.threw = true;
    }
    outcome.trace = rig.take();
    return outcome;
}

std::vector<std::size_t> controlAccesses(const std::vector<std::string> &trace)
{
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < trace.size(); ++i) {
        const std::string &line = trace[i];
        if (line.starts_with("get ") || line.starts_with("put ") || line.starts_with("call "))
            positions.push_back(i);
    }
    return positions;
}

} // namespace testsupport
