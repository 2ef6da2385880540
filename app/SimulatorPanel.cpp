#include "app/SimulatorPanel.h"

#include "app/AppIcon.h"
#include "app/QtText.h"
#include "phone/Error.h"
#include "phone/Members.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <array>
#include <utility>

namespace app {

namespace {

using phone::sim::CallInfo;
using phone::sim::CallPhase;
using phone::sim::Direction;
using phone::sim::FaultMode;

QString memberName(std::int32_t dispId)
{
    const phone::Member *member = phone::findMember(dispId);
    return member ? QString::fromLatin1(member->name.data(),
                                        static_cast<qsizetype>(member->name.size()))
                  : QString::number(dispId, 16);
}

QString describe(const CallInfo &call)
{
    const QString direction = call.direction == Direction::Outgoing ? QStringLiteral("abgehend")
                                                                    : QStringLiteral("ankommend");
    QString phase;
    switch (call.phase) {
    case CallPhase::RingBack:
        phase = QStringLiteral("Rufaufbau");
        break;
    case CallPhase::Ringing:
        phase = QStringLiteral("klingelt");
        break;
    case CallPhase::Connected:
        phase = QStringLiteral("verbunden");
        break;
    }
    const QString number =
        call.remoteNumber.empty() ? QStringLiteral("(ohne Nummer)") : qt(call.remoteNumber);
    return QStringLiteral("ID %1 · %2 · %3 · %4").arg(call.id).arg(direction, number, phase);
}

// What ConnectionCount can be made to answer instead of the true count.
struct CountAnswer
{
    const char *label;
    std::optional<phone::Value> value;
};

const std::array<CountAnswer, 6> &countAnswers()
{
    static const std::array<CountAnswer, 6> answers{{
        {"die wahre Anzahl", std::nullopt},
        {"11", phone::Value{std::int32_t{11}}},
        {"-1", phone::Value{std::int32_t{-1}}},
        {"2.5", phone::Value{2.5}},
        {"\"abc\"", phone::Value{std::u16string(u"abc")}},
        {"Null", phone::Value{phone::Null{}}},
    }};
    return answers;
}

} // namespace

SimulatorPanel::SimulatorPanel(phone::sim::SimulatedControl &control, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_control(control)
{
    setWindowTitle(QStringLiteral("Softphone-Simulator"));
    setWindowIcon(appIcon());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createLineGroup());
    layout->addWidget(createCallsGroup());
    layout->addWidget(createFaultGroup());

    auto *notice = new QPushButton(QStringLiteral("Unbekanntes Ereignis senden"), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setToolTip(QStringLiteral("Meldet eine erneuerte Registrierung (%1), ein Ereignis, "
                                      "das das Testprogramm nicht behandelt")
                           .arg(QString::fromLatin1(phone::sim::registrationNotice.data(),
                                                    phone::sim::registrationNotice.size())));
    connect(notice, &QPushButton::clicked, this,
            [this] { attempt([this] { m_control.softphone().raiseRegistrationNotice(); }); });
    layout->addWidget(notice);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    layout->addStretch();

    m_control.setChangeListener([this] { scheduleRefresh(); });
    refresh();
}

SimulatorPanel::~SimulatorPanel()
{
    m_control.setChangeListener({});
}

QWidget *SimulatorPanel::createLineGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Eigener Anschluss"), this);
    auto *form = new QFormLayout(group);

    m_ownNumber = new QLineEdit(group);
    m_ownNumber->setObjectName(QStringLiteral("ownNumber"));
    connect(m_ownNumber, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_control.softphone().setOwnNumber(text.toStdU16String());
    });
    form->addRow(QStringLiteral("Eigene Rufnummer (MSN):"), m_ownNumber);

    m_popUp = new QCheckBox(QStringLiteral("Tervani-PopUp eingeschaltet"), group);
    m_popUp->setObjectName(QStringLiteral("popUp"));
    connect(m_popUp, &QCheckBox::clicked, this,
            [this](bool checked) { m_control.softphone().setPopUp(checked); });
    form->addRow(m_popUp);

    auto *ringRow = new QHBoxLayout;
    m_caller = new QLineEdit(QStringLiteral("0171 2345678"), group);
    m_caller->setObjectName(QStringLiteral("caller"));
    auto *ring = new QPushButton(QStringLiteral("Anrufen lassen"), group);
    ring->setObjectName(QStringLiteral("ring"));
    ring->setToolTip(QStringLiteral("Ein Anrufer mit dieser Nummer ruft die eigene MSN an"));
    connect(ring, &QPushButton::clicked, this, [this] {
        attempt([this] { m_control.softphone().ring(m_caller->text().toStdU16String()); });
    });
    ringRow->addWidget(m_caller);
    ringRow->addWidget(ring);
    form->addRow(QStringLiteral("Anrufer:"), ringRow);
    return group;
}

QWidget *SimulatorPanel::createCallsGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Verbindungen"), this);
    m_callRows = new QVBoxLayout(group);
    m_noCalls = new QLabel(QStringLiteral("Keine Verbindung"), group);
    m_noCalls->setObjectName(QStringLiteral("noCalls"));
    m_callRows->addWidget(m_noCalls);
    return group;
}

QWidget *SimulatorPanel::createFaultGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Fehler einspeisen"), this);
    auto *form = new QFormLayout(group);

    m_member = new QComboBox(group);
    m_member->setObjectName(QStringLiteral("faultMember"));
    for (const phone::Member &member : phone::members)
        m_member->addItem(memberName(member.dispId), member.dispId);
    form->addRow(QStringLiteral("Element:"), m_member);

    m_mode = new QComboBox(group);
    m_mode->setObjectName(QStringLiteral("faultMode"));
    m_mode->addItem(QStringLiteral("beim nächsten Zugriff"),
                    static_cast<int>(FaultMode::NextAccess));
    m_mode->addItem(QStringLiteral("bei jedem Zugriff"), static_cast<int>(FaultMode::EveryAccess));
    form->addRow(QStringLiteral("Fehler:"), m_mode);

    auto *buttons = new QHBoxLayout;
    auto *inject = new QPushButton(QStringLiteral("Fehler setzen"), group);
    inject->setObjectName(QStringLiteral("injectFault"));
    connect(inject, &QPushButton::clicked, this, [this] {
        m_control.injectFault(m_member->currentData().toInt(),
                              static_cast<FaultMode>(m_mode->currentData().toInt()));
    });
    auto *clear = new QPushButton(QStringLiteral("Aufheben"), group);
    clear->setObjectName(QStringLiteral("clearFault"));
    connect(clear, &QPushButton::clicked, this,
            [this] { m_control.clearFault(m_member->currentData().toInt()); });
    auto *clearAll = new QPushButton(QStringLiteral("Alle aufheben"), group);
    clearAll->setObjectName(QStringLiteral("clearAllFaults"));
    clearAll->setToolTip(
        QStringLiteral("Hebt alle Fehler auf, auch die Antwort von ConnectionCount"));
    connect(clearAll, &QPushButton::clicked, this, [this] { m_control.clearFaults(); });
    buttons->addWidget(inject);
    buttons->addWidget(clear);
    buttons->addWidget(clearAll);
    form->addRow(buttons);

    m_activeFaults = new QLabel(group);
    m_activeFaults->setObjectName(QStringLiteral("activeFaults"));
    m_activeFaults->setWordWrap(true);
    form->addRow(m_activeFaults);

    m_countAnswer = new QComboBox(group);
    m_countAnswer->setObjectName(QStringLiteral("countAnswer"));
    for (const CountAnswer &answer : countAnswers())
        m_countAnswer->addItem(QString::fromUtf8(answer.label));
    // activated, not currentIndexChanged: only the user's choice changes the control.
    connect(m_countAnswer, &QComboBox::activated, this, [this](int index) {
        m_control.setConnectionCountAnswer(countAnswers()[static_cast<std::size_t>(index)].value);
    });
    form->addRow(QStringLiteral("ConnectionCount liefert:"), m_countAnswer);
    return group;
}

template <typename Action>
void SimulatorPanel::attempt(Action &&action)
{
    try {
        action();
    } catch (const phone::Error &error) {
        // The state moved on under the click (the call had just ended): say so, go on.
        m_status->setText(QStringLiteral("Nicht möglich: ")
                          + QString::fromStdString(error.description()));
    }
}

void SimulatorPanel::scheduleRefresh()
{
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, &SimulatorPanel::refresh);
}

void SimulatorPanel::refresh()
{
    m_refreshPending = false;
    const phone::sim::Softphone &softphone = m_control.softphone();

    const QString ownNumber = qt(softphone.ownNumber());
    if (m_ownNumber->text() != ownNumber)
        m_ownNumber->setText(ownNumber);
    m_popUp->setChecked(softphone.popUp());
    refreshCalls();

    QStringList faults;
    for (const auto &[dispId, mode] : m_control.faults().faults()) {
        faults << memberName(dispId)
                      + (mode == FaultMode::NextAccess ? QStringLiteral(" (nächster Zugriff)")
                                                       : QStringLiteral(" (jeder Zugriff)"));
    }
    m_activeFaults->setText(QStringLiteral("Aktive Fehler: ")
                            + (faults.isEmpty() ? QStringLiteral("keine") : faults.join(u", ")));

    const std::optional<phone::Value> &answer = m_control.faults().connectionCountAnswer();
    for (std::size_t i = 0; i < countAnswers().size(); ++i) {
        if (countAnswers()[i].value == answer)
            m_countAnswer->setCurrentIndex(static_cast<int>(i));
    }

    m_status->setText(QStringLiteral("Verbindungen: %1 · Zuletzt: %2")
                          .arg(softphone.connectionCount())
                          .arg(qt(softphone.latestText())));
}

void SimulatorPanel::refreshCalls()
{
    std::vector<CallInfo> calls = m_control.softphone().calls();
    if (calls == m_shownCalls)
        return;
    // Rebuilt only from the event loop (scheduleRefresh), never while one of its buttons is
    // still delivering its click.
    while (m_callRows->count() > 1) {
        QLayoutItem *item = m_callRows->takeAt(1);
        delete item->widget();
        delete item;
    }
    for (const CallInfo &call : calls) {
        auto *row = new QWidget;
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto *label = new QLabel(describe(call), row);
        label->setTextFormat(Qt::PlainText);
        auto *hangUp = new QPushButton(QStringLiteral("Gegenstelle legt auf"), row);
        hangUp->setObjectName(QStringLiteral("farEndHangUp%1").arg(call.id));
        const std::int32_t id = call.id;
        connect(hangUp, &QPushButton::clicked, this,
                [this, id] { attempt([this, id] { m_control.softphone().farEndHangUp(id); }); });
        rowLayout->addWidget(label, 1);
        rowLayout->addWidget(hangUp);
        m_callRows->addWidget(row);
    }
    m_noCalls->setVisible(calls.empty());
    m_shownCalls = std::move(calls);
}

} // namespace app
