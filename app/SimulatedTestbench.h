#pragma once

#include "app/Form1.h"
#include "form/Dialogs.h"
#include "form/SessionTaps.h"
#include "phone/sim/SimulatedControl.h"

#include <QKeyCombination>

#include <memory>
#include <vector>

namespace app {

class SimulatorPanel;

// The bench as the program opens it wherever the real control is not built in: Form1 on the
// simulated softphone, which runs on the window's event loop, and the simulator's panel as a
// window of its own beside it. The panel stands for the softphone, outside the bench: Form1's
// boxes do not block it, and it closes with Form1.
class SimulatedTestbench
{
public:
    // taps: a trace's or a recording's, between the window and the simulation.
    explicit SimulatedTestbench(form::Dialogs &dialogs, phone::sim::Timing timing = {},
                                const std::vector<form::SessionTap> &taps = {});
    // The simulation on the caller's clock and scheduler, so that a test moves time by hand
    // instead of waiting on real timers.
    SimulatedTestbench(form::Dialogs &dialogs, const phone::sim::Clock &clock,
                       std::unique_ptr<phone::sim::Scheduler> scheduler, phone::sim::Timing timing,
                       const std::vector<form::SessionTap> &taps = {});
    ~SimulatedTestbench();

    // Shows Form1, then the panel to its right; Form1 keeps the focus.
    void show();

    // Pressed in Form1, shows the panel again after it was closed.
    static constexpr QKeyCombination panelShortcut{Qt::CTRL | Qt::SHIFT, Qt::Key_S};

    Form1 &form() { return m_form; }
    SimulatorPanel &panel() { return *m_panel; }
    phone::sim::SimulatedControl &control() { return m_control; }

private:
    phone::sim::SteadyClock m_steadyClock;
    // Declared before Form1: the window disconnects from a control that is still there.
    phone::sim::SimulatedControl m_control;
    form::TappedSession m_session;
    Form1 m_form;
    // Declared after Form1: the panel goes first, while the window it shows beside is there.
    std::unique_ptr<SimulatorPanel> m_panel;
};

} // namespace app
