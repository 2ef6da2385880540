#pragma once

#include "phone/sim/SimulatedControl.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVBoxLayout;

namespace app {

class ElidedLabel;
class LoadGenerator;

// The simulated softphone's own window ("Softphone-Simulator"): its subscriber number and
// pop-up flag, a caller who makes it ring, the live calls with a hang-up for the far end, and
// the faults put into the control on purpose. It works on the simulation directly, never
// through the control's boundary, so injected faults do not reach it.
class SimulatorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SimulatorPanel(phone::sim::SimulatedControl &control, QWidget *parent = nullptr);
    ~SimulatorPanel() override;

    // Keeps the whole panel, title bar included, inside the screen's available area.
    void keepOnScreen();

private:
    QWidget *createLineGroup();
    QWidget *createCallsGroup();
    QWidget *createFaultGroup();
    QWidget *createLoadGroup();
    void fitCalls();

    // Changes arrive in the middle of the bench's handlers and of the panel's own clicks;
    // the panel catches up afterwards, from the event loop, once per batch.
    void scheduleRefresh();
    void refresh();
    void refreshCalls();
    template <typename Action>
    void attempt(Action &&action);

    phone::sim::SimulatedControl &m_control;
    bool m_refreshPending = false;

    QLineEdit *m_ownNumber = nullptr;
    QCheckBox *m_popUp = nullptr;
    QLineEdit *m_caller = nullptr;
    QScrollArea *m_callList = nullptr;
    QVBoxLayout *m_callRows = nullptr;
    QLabel *m_noCalls = nullptr;
    std::vector<phone::sim::CallInfo> m_shownCalls;
    QComboBox *m_member = nullptr;
    QComboBox *m_mode = nullptr;
    QLabel *m_activeFaults = nullptr;
    QComboBox *m_countAnswer = nullptr;
    ElidedLabel *m_status = nullptr;
    LoadGenerator *m_load = nullptr;
    QSpinBox *m_loadCalls = nullptr;
    QSpinBox *m_loadPace = nullptr;
    QPushButton *m_loadButton = nullptr;
    QLabel *m_loadProgress = nullptr;
};

} // namespace app
