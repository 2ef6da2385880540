#include "app/SimulatedTestbench.h"

#include "app/QtScheduler.h"
#include "app/SimulatorPanel.h"

namespace app {

SimulatedTestbench::SimulatedTestbench(Dialogs &dialogs, phone::sim::Timing timing)
    : m_control(m_clock, std::make_unique<QtScheduler>(m_clock), timing)
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
