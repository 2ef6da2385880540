// The window's own error report, as a person meets it: a fault on LatestText while a caller
// rings makes one error per ring. They all go into the one report that is open, which blocks
// Form1 only; the panel, the softphone's stand-in, still takes the click that lifts the fault.

#include "app/Dialogs.h"
#include "app/Form1.h"
#include "app/SimulatedTestbench.h"
#include "app/SimulatorPanel.h"
#include "phone/Members.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace std::chrono_literals;

namespace {

// Rings every 40 ms, and the caller does not give up during the test.
constexpr phone::sim::Timing ringingFast{30ms, 40ms, 60000ms, 0ms};

QList<QMessageBox *> openBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            boxes << box;
    }
    return boxes;
}

// A click as the window system delivers it, so that a window blocked by a modal box drops it.
void clickThroughWindow(QWidget *target)
{
    QWidget *top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

// How many errors the report counts beyond the one it shows; 0 while it counts none.
int furtherErrors(const QMessageBox &report)
{
    const QString counted = report.informativeText().section(QStringLiteral("… und "), 1);
    return counted.section(u' ', 0, 0).toInt();
}

// Runs `step` once inside the event loop of the first modal box that opens, then closes the
// box, also when a check in `step` failed, so a failure ends the test instead of hanging it.
class WhenBoxOpens
{
public:
    explicit WhenBoxOpens(std::function<void(QMessageBox &)> step)
        : m_step(std::move(step))
    {
        m_poll.setInterval(10ms);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            m_poll.stop();
            m_step(*box);
            box->done(QMessageBox::Ok);
            m_ran = true;
        });
        m_poll.start();
    }
    bool ran() const { return m_ran; }

private:
    std::function<void(QMessageBox &)> m_step;
    QTimer m_poll;
    bool m_ran = false;
};

} // namespace

class ErrorReportTest : public QObject
{
    Q_OBJECT

private slots:
    void furtherErrorsJoinTheOpenReportAndThePanelStaysUsable();
};

void ErrorReportTest::furtherErrorsJoinTheOpenReportAndThePanelStaysUsable()
{
    app::QtDialogs dialogs;
    app::SimulatedTestbench bench(dialogs, ringingFast);
    dialogs.setReportOwner(&bench.form());
    bench.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bench.form()));
    QVERIFY(QTest::qWaitForWindowExposed(&bench.panel()));
    auto panel = [&bench](const char *name) {
        return bench.panel().findChild<QWidget *>(QLatin1String(name));
    };
    auto *member = static_cast<QComboBox *>(panel("faultMember"));
    member->setCurrentIndex(member->findText(QStringLiteral("LatestText")));
    auto *mode = static_cast<QComboBox *>(panel("faultMode"));
    mode->setCurrentIndex(mode->findText(QStringLiteral("bei jedem Zugriff")));
    clickThroughWindow(panel("injectFault"));
    auto *faults = static_cast<QLabel *>(panel("activeFaults"));
    QTRY_COMPARE(faults->text(), QStringLiteral("Aktive Fehler: LatestText (jeder Zugriff)"));

    const app::EventLogModel &log = bench.form().messages();
    WhenBoxOpens inTheReport([&](QMessageBox &report) {
        QCOMPARE(report.parentWidget(), &bench.form());
        QCOMPARE(report.windowModality(), Qt::WindowModal);
        QCOMPARE(report.text(), QStringLiteral("Fehler des Steuerelements:\n\nSimulierter Fehler "
                                               "beim Zugriff auf LatestText"));
        // Rings go on while the report is open; each one's error is counted, none opens a box.
        QTRY_VERIFY(furtherErrors(report) >= 2);
        QCOMPARE(openBoxes().size(), 1);
        // The caller's first event is its offer; the rings follow.
        QVERIFY2(report.informativeText().startsWith(
                     QStringLiteral("Aufgetreten in „OnOffering“ bei „LatestText lesen“.")),
                 qPrintable(report.informativeText()));

        // Form1 takes no click while its report is open...
        const int lines = log.lineCount();
        QVERIFY(lines > 0);
        clickThroughWindow(bench.form().widget(form::Control::BTN_Clear));
        QVERIFY(log.lineCount() >= lines);
        // ...the panel does, and lifts the fault.
        clickThroughWindow(panel("clearAllFaults"));
        QTRY_COMPARE(faults->text(), QStringLiteral("Aktive Fehler: keine"));

        // Every error is listed, the first included, once the list has caught up.
        QTest::qWait(100);
        const QStringList listed = report.detailedText().split(u'\n');
        QCOMPARE(listed.size(), furtherErrors(report) + 1);
        for (qsizetype i = 0; i < listed.size(); ++i) {
            const QString handler =
                i == 0 ? QStringLiteral("OnOffering") : QStringLiteral("OnRing");
            QVERIFY2(listed[i].contains(QStringLiteral("  %1  LatestText lesen  Fehler des "
                                                       "Steuerelements: Simulierter Fehler")
                                            .arg(handler)),
                     qPrintable(listed[i]));
        }
    });

    clickThroughWindow(panel("ring"));
    QTRY_VERIFY_WITH_TIMEOUT(inTheReport.ran(), 20000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(openBoxes().isEmpty());
    // With the fault lifted, the next rings report nothing.
    const int lines = log.lineCount();
    QTRY_VERIFY2(log.lineCount() > lines + 1, qPrintable(QString::number(log.lineCount())));
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(ErrorReportTest)
#include "ErrorReportTest.moc"
