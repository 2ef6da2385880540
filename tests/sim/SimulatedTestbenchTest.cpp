#include "app/SimulatedTestbench.h"
#include "app/Form1.h"
#include "app/SimulatorPanel.h"
#include "tests/support/FakeEventLoop.h"
#include "tests/support/RecordingDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace std::chrono_literals;

namespace {

// Short enough for a quick test, long enough that a ring-back is seen as its own step. The
// caller waits long so that ringing goes on until the test acts.
constexpr phone::sim::Timing fastTiming{30ms, 60ms, 20000ms, 0ms};

QString line(const char *event, int id, const QString &number, const QString &msn)
{
    return QStringLiteral("Ereignis: %1 (ID: %2) -    Nummer: %3 - MSN: %4")
        .arg(QLatin1String(event))
        .arg(id)
        .arg(number, msn);
}

} // namespace

class SimulatedTestbenchTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialConnectAndHangUp();
    void ringAcceptAndFarEndHangsUp();
    void unansweredCallerGivesUp();
    void injectedFaultStopsTheCommand();
    void oddConnectionCountReachesTheBench_data();
    void oddConnectionCountReachesTheBench();
    void unknownEventChangesNothing();
    void closingForm1EndsTheProgramPanelIncluded();
    void opensWithTheFocusInTheNumber();

private:
    template <typename T>
    T *formControl(const char *name) const
    {
        auto *found = m_testbench->form().findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("Form1 has no %s", name);
        return found;
    }
    template <typename T>
    T *panelControl(const QString &name) const
    {
        return m_testbench->panel().findChild<T *>(name);
    }
    QStringList lines() const;
    // What the label shows; the screen follows the window's record within a frame.
    QString caption(const char *label) const { return formControl<QLabel>(label)->text(); }

    testsupport::RecordingDialogs m_dialogs;
    // Declared first: a bench on the hand-moved clock holds on to it.
    testsupport::FakeEventLoop m_loop;
    std::unique_ptr<app::SimulatedTestbench> m_testbench;
};

void SimulatedTestbenchTest::init()
{
    m_dialogs = {};
    m_testbench = std::make_unique<app::SimulatedTestbench>(m_dialogs, fastTiming);
    m_testbench->show();
}

void SimulatedTestbenchTest::cleanup()
{
    m_testbench.reset();
}

QStringList SimulatedTestbenchTest::lines() const
{
    QStringList result;
    const app::EventLogModel &messages = m_testbench->form().messages();
    for (int row = 0; row < messages.lineCount(); ++row)
        result << messages.line(row);
    return result;
}

void SimulatedTestbenchTest::dialConnectAndHangUp()
{
    QTest::keyClicks(formControl<QLineEdit>("TXT_Nummer"), QStringLiteral("0123 456"));
    QTest::mouseClick(formControl<QPushButton>("BTN_Dial"), Qt::LeftButton);
    QVERIFY2(lines().isEmpty(), "no event may arrive inside the click");

    const QStringList connected{
        line("OnConnecting", 1, QStringLiteral("4711"), QStringLiteral("0123 456")),
        line("OnConnected", 1, QStringLiteral("4711"), QStringLiteral("0123 456")),
    };
    QTRY_COMPARE(lines(), connected);
    QTRY_COMPARE(caption("LBL_Anzahl"), QStringLiteral("Anzahl Verbindungen:  1"));
    QTRY_COMPARE(caption("LBL_Last"), QStringLiteral("Zuletzt: Verbunden mit 0123 456"));
    QCOMPARE(m_testbench->form().callIDs().contents()[1], 1);

    QTest::mouseClick(formControl<QPushButton>("BTN_Disconnect"), Qt::LeftButton);
    QCOMPARE(m_dialogs.boxes.size(), 1u);
    QCOMPARE(m_dialogs.boxes[0].prompt, u"1 = 1 wird jetzt beendet");

    QTRY_COMPARE(lines().size(), 5);
    QCOMPARE(lines().mid(2),
             (QStringList{
                 line("OnDisconnecting", 1, QStringLiteral("4711"), QStringLiteral("0123 456")),
                 line("OnDisConnected", 1, QStringLiteral("4711"), QStringLiteral("0123 456")),
                 line("OnIdle", 0, QString(), QStringLiteral("4711")),
             }));
    QTRY_COMPARE(caption("LBL_Anzahl"), QStringLiteral("Anzahl Verbindungen:  0"));
    QVERIFY(m_dialogs.errors.empty());
}

void SimulatedTestbenchTest::ringAcceptAndFarEndHangsUp()
{
    auto *annehmen = formControl<QPushButton>("Annehmen");
    QVERIFY(!annehmen->isEnabled());

    auto *caller = panelControl<QLineEdit>(QStringLiteral("caller"));
    QVERIFY(caller);
    caller->clear();
    QTest::keyClicks(caller, QStringLiteral("0171 2345678"));
    QTest::mouseClick(panelControl<QPushButton>(QStringLiteral("ring")), Qt::LeftButton);

    QTRY_VERIFY(annehmen->isEnabled());
    const QString caller1 = QStringLiteral("0171 2345678");
    const QString msn = QStringLiteral("4711");
    QCOMPARE(lines().mid(0, 2),
             (QStringList{line("OnOffering", 1, caller1, msn), line("OnRing", 1, caller1, msn)}));
    // It keeps ringing while nobody answers.
    QTRY_VERIFY(lines().count(line("OnRing", 1, caller1, msn)) >= 2);

    QTest::mouseClick(annehmen, Qt::LeftButton);
    QTRY_VERIFY(lines().contains(line("OnConnected", 1, caller1, msn)));
    const int connecting = lines().indexOf(line("OnConnecting", 1, caller1, msn));
    QVERIFY(connecting >= 0);
    QCOMPARE(lines().indexOf(line("OnConnected", 1, caller1, msn)), connecting + 1);
    QCOMPARE(m_testbench->form().callIDs().contents()[1], 1);
    QVERIFY2(annehmen->isEnabled(), "accepting leaves the button as it was");

    QPushButton *farEnd = nullptr;
    QTRY_VERIFY((farEnd = panelControl<QPushButton>(QStringLiteral("farEndHangUp1"))));
    QTest::mouseClick(farEnd, Qt::LeftButton);
    QTRY_VERIFY(!annehmen->isEnabled());
    QVERIFY(lines().contains(line("OnDisConnected", 1, caller1, msn)));
    QCOMPARE(lines().filter(QStringLiteral("OnRing")).size(),
             lines().mid(0, connecting).filter(QStringLiteral("OnRing")).size());
    QTRY_VERIFY(!panelControl<QPushButton>(QStringLiteral("farEndHangUp1")));
    QVERIFY(m_dialogs.errors.empty());
}

void SimulatedTestbenchTest::unansweredCallerGivesUp()
{
    // On the hand-moved clock: the rings and the caller's giving up come at their own times
    // however busy the machine is.
    m_testbench.reset();
    m_testbench = std::make_unique<app::SimulatedTestbench>(
        m_dialogs, m_loop, m_loop.makeScheduler(), phone::sim::Timing{30ms, 60ms, 210ms, 0ms});
    m_testbench->show();
    auto *annehmen = formControl<QPushButton>("Annehmen");

    QTest::mouseClick(panelControl<QPushButton>(QStringLiteral("ring")), Qt::LeftButton);
    m_loop.runPending();
    QVERIFY(annehmen->isEnabled());
    m_loop.advance(209ms);
    QVERIFY(annehmen->isEnabled());
    QCOMPARE(lines().filter(QStringLiteral("OnRing")).size(), 4); // at 0, 60, 120, 180 ms
    m_loop.advance(1ms);
    QVERIFY(!annehmen->isEnabled());
    const QStringList events = lines();
    QVERIFY(events.last().startsWith(QStringLiteral("Ereignis: OnIdle")));
    QCOMPARE(events.filter(QStringLiteral("OnRing")).size(), 4);
    QVERIFY(events.at(events.size() - 3).startsWith(QStringLiteral("Ereignis: OnDisconnecting")));
    // The label reaches the screen with the window's next refresh, a frame later.
    QTRY_COMPARE(caption("LBL_Last"), QStringLiteral("Zuletzt: Keine Verbindung"));
    QTRY_VERIFY(panelControl<QLabel>(QStringLiteral("noCalls"))->isVisible());
    QVERIFY(m_dialogs.errors.empty());
    m_testbench.reset();
}

void SimulatedTestbenchTest::injectedFaultStopsTheCommand()
{
    auto *member = panelControl<QComboBox>(QStringLiteral("faultMember"));
    member->setCurrentIndex(member->findText(QStringLiteral("Dial")));
    auto *mode = panelControl<QComboBox>(QStringLiteral("faultMode"));
    mode->setCurrentIndex(mode->findText(QStringLiteral("beim nächsten Zugriff")));
    QTest::mouseClick(panelControl<QPushButton>(QStringLiteral("injectFault")), Qt::LeftButton);
    auto *active = panelControl<QLabel>(QStringLiteral("activeFaults"));
    QTRY_COMPARE(active->text(), QStringLiteral("Aktive Fehler: Dial (nächster Zugriff)"));

    QTest::keyClicks(formControl<QLineEdit>("TXT_Nummer"), QStringLiteral("0123"));
    QTest::mouseClick(formControl<QPushButton>("BTN_Dial"), Qt::LeftButton);
    QCOMPARE(m_dialogs.errors.size(), 1u);
    QCOMPARE(m_dialogs.errors[0].description, "Simulierter Fehler beim Zugriff auf Dial");
    QTRY_COMPARE(active->text(), QStringLiteral("Aktive Fehler: keine"));

    QTest::mouseClick(formControl<QPushButton>("BTN_Dial"), Qt::LeftButton);
    QTRY_COMPARE(lines().size(), 2);
    QCOMPARE(m_dialogs.errors.size(), 1u);
}

void SimulatedTestbenchTest::oddConnectionCountReachesTheBench_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("lineWritten");
    QTest::addColumn<int>("slot");

    QTest::newRow("eleven is past the table") << QStringLiteral("11") << false << -1;
    QTest::newRow("minus one is before it") << QStringLiteral("-1") << false << -1;
    QTest::newRow("text is no number") << QStringLiteral("\"abc\"") << false << -1;
    QTest::newRow("null is no number") << QStringLiteral("Null") << false << -1;
    QTest::newRow("two and a half rounds to even") << QStringLiteral("2.5") << true << 2;
}

void SimulatedTestbenchTest::oddConnectionCountReachesTheBench()
{
    QFETCH(QString, answer);
    QFETCH(bool, lineWritten);
    QFETCH(int, slot);

    auto *count = panelControl<QComboBox>(QStringLiteral("countAnswer"));
    const int index = count->findText(answer);
    QVERIFY(index > 0);
    // The user's choice: keyboard steps through the list until the answer is picked.
    count->setFocus();
    while (count->currentIndex() < index)
        QTest::keyClick(count, Qt::Key_Down);
    QVERIFY(m_testbench->control().faults().connectionCountAnswer().has_value());

    QTest::keyClicks(formControl<QLineEdit>("TXT_Nummer"), QStringLiteral("0123"));
    QTest::mouseClick(formControl<QPushButton>("BTN_Dial"), Qt::LeftButton);
    // OnConnected writes its line before it reads the count: once it is there, both events
    // have been handled.
    QTRY_VERIFY(
        lines().contains(line("OnConnected", 1, QStringLiteral("4711"), QStringLiteral("0123"))));
    const bool connectingLine = !lines().filter(QStringLiteral("OnConnecting")).isEmpty();
    QCOMPARE(connectingLine, lineWritten);
    QCOMPARE(m_dialogs.errors.empty(), lineWritten);
    if (slot >= 0)
        QCOMPARE(m_testbench->form().callIDs().contents()[static_cast<std::size_t>(slot)], 1);

    // Back to the true count, and the bench runs clean again.
    QTest::mouseClick(panelControl<QPushButton>(QStringLiteral("clearAllFaults")), Qt::LeftButton);
    QTRY_COMPARE(count->currentIndex(), 0);
    m_dialogs.errors.clear();
    QTest::mouseClick(formControl<QPushButton>("BTN_Dial"), Qt::LeftButton);
    QTRY_VERIFY(
        lines().contains(line("OnConnected", 2, QStringLiteral("4711"), QStringLiteral("0123"))));
    QVERIFY(m_dialogs.errors.empty());
    QCOMPARE(m_testbench->form().callIDs().contents()[2], 2);
}

void SimulatedTestbenchTest::unknownEventChangesNothing()
{
    QTest::keyClicks(formControl<QLineEdit>("TXT_Nummer"), QStringLiteral("0123"));
    QTest::mouseClick(formControl<QPushButton>("BTN_Dial"), Qt::LeftButton);
    QTRY_COMPARE(lines().size(), 2);
    const QString count = caption("LBL_Anzahl");
    const QString latest = caption("LBL_Last");
    const std::u16string strEvent = m_testbench->form().strEvent();

    QTest::mouseClick(panelControl<QPushButton>(QStringLiteral("notice")), Qt::LeftButton);
    // Wait until the notice has surely been delivered: a task posted after it runs after it.
    bool after = false;
    QMetaObject::invokeMethod(
        &m_testbench->form(), [&after] { after = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(after);

    QCOMPARE(lines().size(), 2);
    QTRY_COMPARE(caption("LBL_Anzahl"), count);
    QTRY_COMPARE(caption("LBL_Last"), latest);
    QVERIFY(m_testbench->form().strEvent() == strEvent);
    QVERIFY(m_dialogs.errors.empty());
}

void SimulatedTestbenchTest::closingForm1EndsTheProgramPanelIncluded()
{
    QVERIFY(m_testbench->panel().isVisible());
    QTimer::singleShot(0, &m_testbench->form(), [this] { m_testbench->form().close(); });
    // Should the program not end, this ends the loop with a code of its own.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!m_testbench->panel().isVisible());
}

void SimulatedTestbenchTest::opensWithTheFocusInTheNumber()
{
    // The panel opens beside Form1 without taking the focus: what the user types at once is
    // the number to dial, not the panel's own number.
    QTRY_COMPARE(QApplication::activeWindow(), &m_testbench->form());
    QCOMPARE(QApplication::focusWidget(), formControl<QLineEdit>("TXT_Nummer"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0301"));
    QCOMPARE(formControl<QLineEdit>("TXT_Nummer")->text(), QStringLiteral("0301"));
    QCOMPARE(panelControl<QLineEdit>(QStringLiteral("ownNumber"))->text(), QStringLiteral("4711"));
}

QTEST_MAIN(SimulatedTestbenchTest)
#include "SimulatedTestbenchTest.moc"
