#include "app/SimulatorPanel.h"

#include "app/AppIcon.h"
#include "app/ElidedLabel.h"
#include "app/LoadGenerator.h"
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
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
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

// The call list: as tall as its calls, up to about eight of them or a quarter of the screen,
// then it scrolls.
class CallList : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const QSize content = widget() ? widget()->sizeHint() : QSize();
        const int eightRows = 8 * (fontMetrics().height() + 14);
        const int tallest =
            screen() ? std::min(eightRows, screen()->availableGeometry().height() / 4) : eightRows;
        const int frame = 2 * frameWidth();
        return QSize(content.width() + verticalScrollBar()->sizeHint().width() + frame,
                     std::min(content.height(), tallest) + frame);
    }
};

// A form row's label, with its access key, for the field it names; a screen reader names the
// field by it too, not by the group the row is in (or, for a combo box, by its current item).
QLabel *rowLabel(const QString &caption, QWidget *field)
{
    auto *label = new QLabel(caption, field->parentWidget());
    label->setBuddy(field);
    field->setAccessibleName(QString(caption).remove(u'&'));
    return label;
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
    layout->addWidget(createLoadGroup());

    auto *notice = new QPushButton(QStringLiteral("Unbekanntes Ereign&is senden"), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setToolTip(QStringLiteral("Meldet eine erneuerte Registrierung (%1), ein Ereignis, "
                                      "das das Testprogramm nicht behandelt")
                           .arg(QString::fromLatin1(phone::sim::registrationNotice.data(),
                                                    phone::sim::registrationNotice.size())));
    connect(notice, &QPushButton::clicked, this,
            [this] { attempt([this] { m_control.softphone().raiseRegistrationNotice(); }); });
    layout->addWidget(notice);

    m_status = new ElidedLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
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
    form->addRow(rowLabel(QStringLiteral("Eigene Rufnummer (&MSN):"), m_ownNumber), m_ownNumber);

    m_popUp = new QCheckBox(QStringLiteral("Tervani-&PopUp eingeschaltet"), group);
    m_popUp->setObjectName(QStringLiteral("popUp"));
    connect(m_popUp, &QCheckBox::clicked, this,
            [this](bool checked) { m_control.softphone().setPopUp(checked); });
    form->addRow(m_popUp);

    auto *ringRow = new QHBoxLayout;
    m_caller = new QLineEdit(QStringLiteral("0171 2345678"), group);
    m_caller->setObjectName(QStringLiteral("caller"));
    auto *ring = new QPushButton(QStringLiteral("Anrufen &lassen"), group);
    ring->setObjectName(QStringLiteral("ring"));
    ring->setToolTip(QStringLiteral("Ein Anrufer mit dieser Nummer ruft die eigene MSN an"));
    connect(ring, &QPushButton::clicked, this, [this] {
        attempt([this] { m_control.softphone().ring(m_caller->text().toStdU16String()); });
    });
    ringRow->addWidget(m_caller);
    ringRow->addWidget(ring);
    form->addRow(rowLabel(QStringLiteral("&Anrufer:"), m_caller), ringRow);
    return group;
}

QWidget *SimulatorPanel::createCallsGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Verbindungen"), this);
    auto *groupLayout = new QVBoxLayout(group);
    auto *scroll = new CallList(group);
    scroll->setObjectName(QStringLiteral("callList"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *rows = new QWidget(scroll);
    m_callRows = new QVBoxLayout(rows);
    m_callRows->setContentsMargins(0, 0, 0, 0);
    m_noCalls = new QLabel(QStringLiteral("Keine Verbindung"), rows);
    m_noCalls->setObjectName(QStringLiteral("noCalls"));
    m_callRows->addWidget(m_noCalls);
    m_callRows->addStretch();
    scroll->setWidget(rows);
    groupLayout->addWidget(scroll);
    m_callList = scroll;
    return group;
}

QWidget *SimulatorPanel::createLoadGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Last erzeugen"), this);
    auto *form = new QFormLayout(group);
    m_load = new LoadGenerator(m_control.softphone(), this);

    m_loadCalls = new QSpinBox(group);
    m_loadCalls->setObjectName(QStringLiteral("loadCalls"));
    m_loadCalls->setRange(1, 1'000'000);
    m_loadCalls->setValue(100);
    m_loadCalls->setToolTip(QStringLiteral("So viele Anrufer rufen nacheinander an und legen "
                                           "wieder auf"));
    form->addRow(rowLabel(QStringLiteral("Anr&ufe:"), m_loadCalls), m_loadCalls);

    m_loadPace = new QSpinBox(group);
    m_loadPace->setObjectName(QStringLiteral("loadPace"));
    m_loadPace->setRange(0, 60'000);
    m_loadPace->setValue(50);
    m_loadPace->setSuffix(QStringLiteral(" ms"));
    m_loadPace->setToolTip(QStringLiteral("Zeit zwischen zwei Anrufern; 0 so schnell wie möglich"));
    form->addRow(rowLabel(QStringLiteral("Abs&tand:"), m_loadPace), m_loadPace);

    m_loadButton = new QPushButton(group);
    m_loadButton->setObjectName(QStringLiteral("load"));
    connect(m_loadButton, &QPushButton::clicked, this, [this] {
        if (m_load->running())
            m_load->stop();
        else
            m_load->start(m_loadCalls->value(), m_loadPace->value());
    });
    m_loadProgress = new QLabel(group);
    m_loadProgress->setObjectName(QStringLiteral("loadProgress"));
    auto *row = new QHBoxLayout;
    row->addWidget(m_loadButton);
    row->addWidget(m_loadProgress, 1);
    form->addRow(row);

    const auto show = [this] {
        m_loadButton->setText(m_load->running() ? QStringLiteral("A&nhalten")
                                                : QStringLiteral("Last starte&n"));
        m_loadProgress->setText(
            m_load->total() == 0
                ? QString()
                : QStringLiteral("%1 von %2 Anrufern").arg(m_load->made()).arg(m_load->total()));
    };
    connect(m_load, &LoadGenerator::progressed, this, show);
    connect(m_load, &LoadGenerator::finished, this, show);
    show();
    return group;
}

void SimulatorPanel::keepOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The frame is what the user must reach: the title bar above all.
    const QRect frame = frameGeometry();
    const QSize border = frame.size() - size();
    setMaximumSize(available.size() - border);
    QPoint place = frame.topLeft();
    place.setX(std::clamp(place.x(), available.left(),
                          std::max(available.left(), available.right() + 1 - frame.width())));
    place.setY(std::clamp(place.y(), available.top(),
                          std::max(available.top(), available.bottom() + 1 - frame.height())));
    if (place != frame.topLeft())
        move(place);
}

void SimulatorPanel::fitCalls()
{
    // The panel grows with the calls up to the call list's own bound, and shrinks back as
    // they end. The layouts would learn of the new rows only from posted events; they are
    // told now, from the list up, so that the size asked for counts the rows.
    for (QWidget *widget = m_callList; widget != this; widget = widget->parentWidget())
        widget->updateGeometry();
    keepOnScreen();
    if (QLayout *own = layout())
        own->activate();
    resize(sizeHint().expandedTo(minimumSize()).boundedTo(maximumSize()));
    keepOnScreen();
}

QWidget *SimulatorPanel::createFaultGroup()
{
    auto *group = new QGroupBox(QStringLiteral("Fehler einspeisen"), this);
    auto *form = new QFormLayout(group);

    m_member = new QComboBox(group);
    m_member->setObjectName(QStringLiteral("faultMember"));
    for (const phone::Member &member : phone::members)
        m_member->addItem(memberName(member.dispId), member.dispId);
    form->addRow(rowLabel(QStringLiteral("&Element:"), m_member), m_member);

    m_mode = new QComboBox(group);
    m_mode->setObjectName(QStringLiteral("faultMode"));
    m_mode->addItem(QStringLiteral("beim nächsten Zugriff"),
                    static_cast<int>(FaultMode::NextAccess));
    m_mode->addItem(QStringLiteral("bei jedem Zugriff"), static_cast<int>(FaultMode::EveryAccess));
    form->addRow(rowLabel(QStringLiteral("&Fehler:"), m_mode), m_mode);

    auto *buttons = new QHBoxLayout;
    auto *inject = new QPushButton(QStringLiteral("Fehler &setzen"), group);
    inject->setObjectName(QStringLiteral("injectFault"));
    connect(inject, &QPushButton::clicked, this, [this] {
        m_control.injectFault(m_member->currentData().toInt(),
                              static_cast<FaultMode>(m_mode->currentData().toInt()));
    });
    auto *clear = new QPushButton(QStringLiteral("Auf&heben"), group);
    clear->setObjectName(QStringLiteral("clearFault"));
    connect(clear, &QPushButton::clicked, this,
            [this] { m_control.clearFault(m_member->currentData().toInt()); });
    auto *clearAll = new QPushButton(QStringLiteral("Alle aufhe&ben"), group);
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
    form->addRow(rowLabel(QStringLiteral("&ConnectionCount liefert:"), m_countAnswer),
                 m_countAnswer);
    return group;
}

template <typename Action>
void SimulatorPanel::attempt(Action &&action)
{
    try {
        action();
    } catch (const phone::Error &error) {
        // The state moved on under the click (the call had just ended): say so, go on.
        m_status->setFullText(QStringLiteral("Nicht möglich: ")
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

    m_status->setFullText(QStringLiteral("Verbindungen: %1 · Zuletzt: %2")
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
    // Between the "none" label and the closing stretch.
    while (m_callRows->count() > 2) {
        QLayoutItem *item = m_callRows->takeAt(1);
        delete item->widget();
        delete item;
    }
    for (const CallInfo &call : calls) {
        auto *row = new QWidget;
        auto *rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto *label = new ElidedLabel(row);
        label->setFullText(describe(call));
        // The same access key on every row: pressing it again moves on to the next call.
        auto *hangUp = new QPushButton(QStringLiteral("&Gegenstelle legt auf"), row);
        hangUp->setObjectName(QStringLiteral("farEndHangUp%1").arg(call.id));
        const std::int32_t id = call.id;
        connect(hangUp, &QPushButton::clicked, this,
                [this, id] { attempt([this, id] { m_control.softphone().farEndHangUp(id); }); });
        rowLayout->addWidget(label, 1);
        rowLayout->addWidget(hangUp);
        m_callRows->insertWidget(m_callRows->count() - 1, row);
        row->show(); // now, not from the event loop, so that the panel's size counts it
    }
    m_noCalls->setVisible(calls.empty());
    const bool countChanged = calls.size() != m_shownCalls.size();
    m_shownCalls = std::move(calls);
    if (countChanged)
        fitCalls();
}

} // namespace app
