#include "app/SimulatedTestbench.h"

#include "app/QtScheduler.h"
#include "app/SimulatorPanel.h"

namespace app {

SimulatedTestbench::SimulatedTestbench(Dialogs &dialogs, phone::sim::Timing timing)
    // Only the clock's address is taken before the members are made.
    : SimulatedTestbench(dialogs, m_steadyClock, std::make_unique<QtScheduler>(m_steadyClock),
                         timing)
{}

SimulatedTestbench::SimulatedTestbench(Dialogs &dialogs, const phone::sim::Clock &clock,
                                       std::unique_ptr<phone::sim::Scheduler> scheduler,
                                       phone::sim::Timing timing)
    : m_control(clock, std::move(scheduler), timing)
    , m_form(m_control, dialogs)
    , m_panel(new SimulatorPanel(m_control, &m_form))
{}

void SimulatedTestbench::show()
{
    m_form.show();
    constexpr int gap = 24;
    m_panel->move(m_form.frameGeometry().right() + gap, m_form.geometry().top());
    m_panel->show();
}

} // namespace app
