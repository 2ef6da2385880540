#pragma once

#include "phone/Dispatch.h"
#include "phone/sim/FaultInjector.h"
#include "phone/sim/Softphone.h"

#include <functional>
#include <memory>
#include <optional>

namespace phone::sim {

// The simulated softphone behind the control's late-bound boundary: the same dispatch
// identifiers, argument lists and events as the real control, plus failures injected on
// purpose. The panel reaches the softphone and the faults directly, past the boundary, so an
// injected fault never hides the simulation's own state.
class SimulatedControl : public Dispatch
{
public:
    SimulatedControl(const Clock &clock, std::unique_ptr<Scheduler> scheduler, Timing timing = {});

    Value getProperty(std::int32_t dispId) override;
    void putProperty(std::int32_t dispId, const Value &value) override;
    Value invoke(std::int32_t dispId, std::span<Argument> arguments) override;
    void connectEvents(EventSink *sink) override { m_softphone.connectEvents(sink); }

    Softphone &softphone() { return m_softphone; }
    const Softphone &softphone() const { return m_softphone; }

    const FaultInjector &faults() const { return m_faults; }
    void injectFault(std::int32_t dispId, FaultMode mode);
    void clearFault(std::int32_t dispId);
    void clearFaults();
    void setConnectionCountAnswer(std::optional<Value> answer);

    // Told, synchronously, whenever the softphone or the faults change.
    void setChangeListener(std::function<void()> listener);

private:
    void failIfInjected(std::int32_t dispId);
    void changed();

    FaultInjector m_faults;
    std::function<void()> m_listener;
    Softphone m_softphone;
};

} // namespace phone::sim
