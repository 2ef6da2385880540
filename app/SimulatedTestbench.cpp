#include "app/SimulatedTestbench.h"

#include "app/QtScheduler.h"
#include "app/SimulatorPanel.h"

#include <QShortcut>

namespace app {

SimulatedTestbench::SimulatedTestbench(form::Dialogs &dialogs, phone::sim::Timing timing,
                                       const std::vector<form::SessionTap> &taps)
    // Only the clock's address is taken before the members are made.
    : SimulatedTestbench(dialogs, m_steadyClock, std::make_unique<QtScheduler>(m_steadyClock),
                         timing, taps)
{}

SimulatedTestbench::SimulatedTestbench(form::Dialogs &dialogs, const phone::sim::Clock &clock,
                                       std::unique_ptr<phone::sim::Scheduler> scheduler,
                                       phone::sim::Timing timing,
                                       const std::vector<form::SessionTap> &taps)
    : m_control(clock, std::move(scheduler), timing)
    , m_session(m_control, dialogs, nullptr, taps)
    , m_form(m_session.control(), m_session.dialogs(), m_session.observer())
    , m_panel(std::make_unique<SimulatorPanel>(m_control))
{
    // The program ends when Form1 closes, whether or not the panel is still open.
    m_panel->setAttribute(Qt::WA_QuitOnClose, false);
    QObject::connect(&m_form, &Form1::closed, m_panel.get(), &QWidget::close);
    // A panel closed with its close box comes back from Form1, without a restart.
    auto *bringBack = new QShortcut(panelShortcut, &m_form);
    QObject::connect(bringBack, &QShortcut::activated, m_panel.get(), [panel = m_panel.get()] {
        panel->show();
        panel->keepOnScreen();
        panel->raise();
        panel->activateWindow();
    });
}

SimulatedTestbench::~SimulatedTestbench() = default;

void SimulatedTestbench::show()
{
    m_form.show();
    constexpr int gap = 24;
    m_panel->move(m_form.frameGeometry().right() + gap, m_form.geometry().top());
    // Form1 is where the user works: it keeps the focus, in TXT_Nummer, and what is typed at
    // once is the number to dial, not the panel's own.
    m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
    m_panel->show();
    m_panel->keepOnScreen();
    m_form.raise();
    m_form.activateWindow();
}

} // namespace app
