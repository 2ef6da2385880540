#include "app/SimulatorPanel.h"

#include "app/Form1.h"
#include "app/LoadGenerator.h"
#include "app/SimulatedTestbench.h"
#include "tests/support/RecordingDialogs.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

// Callers wait long, so that rings go on until the test acts.
constexpr phone::sim::Timing slowCallers{30ms, 60000ms, 600000ms, 0ms};

} // namespace

// The panel stays on the screen whatever the calls bring, and makes load on request.
class SimulatorPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aLongNumberIsCutWithAMarkAndWholeInItsTooltip();
    void aFewCallsShowWithoutScrolling();
    void manyCallsScrollAndThePanelShrinksBackWhenTheyEnd();
    void aPanelMovedOffTheScreenComesBack();
    void loadRingsTheChosenNumberOfCallersOneAfterAnother();
    void stoppingTheLoadHangsUpItsOpenCall();
    void aClosedPanelComesBackFromForm1();
    void everyButtonAndRowHasItsOwnAccessKey();
    void aScreenReaderNamesEachFieldByItsRow_data();
    void aScreenReaderNamesEachFieldByItsRow();
    void everyFocusableWidgetHasASpokenName();

private:
    app::SimulatorPanel &panel() { return m_bench->panel(); }
    phone::sim::Softphone &softphone() { return m_bench->control().softphone(); }
    template <typename T>
    T *child(const char *name)
    {
        auto *found = panel().findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("the panel has no %s", name);
        return found;
    }
    QRect available() { return panel().screen()->availableGeometry(); }
    bool onScreen() { return available().contains(panel().frameGeometry()); }
    // The button is inside the panel's window, not cut off below it.
    bool inReach(QWidget *widget)
    {
        const QRect inPanel(widget->mapTo(&panel(), QPoint()), widget->size());
        return widget->isVisible() && panel().rect().contains(inPanel);
    }
    int ringLines(const QString &number);
    QLabel *callRowShowing(const QString &text)
    {
        for (QLabel *label : child<QScrollArea>("callList")->findChildren<QLabel *>()) {
            if (label->text().contains(text))
                return label;
        }
        return nullptr;
    }

    testsupport::RecordingDialogs m_dialogs;
    std::unique_ptr<app::SimulatedTestbench> m_bench;
};

void SimulatorPanelTest::init()
{
    m_dialogs = {};
    m_bench = std::make_unique<app::SimulatedTestbench>(m_dialogs, slowCallers);
    m_bench->show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel()));
}

void SimulatorPanelTest::cleanup()
{
    m_bench.reset();
}

int SimulatorPanelTest::ringLines(const QString &number)
{
    const app::EventLogModel &log = m_bench->form().messages();
    int count = 0;
    for (int row = 0; row < log.lineCount(); ++row) {
        const QString line = log.line(row);
        count += line.startsWith(QStringLiteral("Ereignis: OnRing ")) && line.contains(number);
    }
    return count;
}

void SimulatorPanelTest::aLongNumberIsCutWithAMarkAndWholeInItsTooltip()
{
    const QString number(3000, QLatin1Char('7'));
    const int id = softphone().ring(number.toStdU16String());

    QTRY_VERIFY(callRowShowing(number) != nullptr);
    QLabel *row = callRowShowing(number);
    QVERIFY(row->toolTip().startsWith(QStringLiteral("ID %1 · ankommend · 777").arg(id)));
    QVERIFY(row->toolTip().endsWith(QChar(0x2026))); // cut at the shown length, with the mark
    QVERIFY2(onScreen(), qPrintable(QStringLiteral("panel at %1,%2 %3×%4")
                                        .arg(panel().frameGeometry().x())
                                        .arg(panel().frameGeometry().y())
                                        .arg(panel().frameGeometry().width())
                                        .arg(panel().frameGeometry().height())));
    QVERIFY(row->width() < available().width());
    // The status line names the same text; it too is cut, and whole in its tooltip.
    QTRY_VERIFY(child<QLabel>("status")->text().contains(number));
    QVERIFY(onScreen());
}

void SimulatorPanelTest::aFewCallsShowWithoutScrolling()
{
    for (int i = 1; i <= 3; ++i)
        softphone().ring(app::LoadGenerator::callerNumber(i));
    QTRY_VERIFY(panel().findChild<QPushButton *>(QStringLiteral("farEndHangUp3")) != nullptr);
    // The list is tall enough for every row.
    auto *list = child<QScrollArea>("callList");
    QTRY_VERIFY(list->viewport()->height() >= list->widget()->sizeHint().height());
    QTRY_COMPARE(list->verticalScrollBar()->maximum(), 0);
    QVERIFY(onScreen());
}

void SimulatorPanelTest::manyCallsScrollAndThePanelShrinksBackWhenTheyEnd()
{
    const int heightBefore = panel().height();
    std::vector<std::int32_t> ids;
    for (int i = 0; i < 100; ++i)
        ids.push_back(softphone().ring(app::LoadGenerator::callerNumber(i)));
    QTRY_VERIFY(panel().findChild<QPushButton *>(QStringLiteral("farEndHangUp%1").arg(ids.back()))
                != nullptr);

    QVERIFY(onScreen());
    QVERIFY(panel().height() <= available().height());
    // The faults and the load stay in reach below the list.
    QVERIFY(inReach(child<QPushButton>("injectFault")));
    QVERIFY(inReach(child<QPushButton>("load")));
    QTRY_VERIFY(child<QScrollArea>("callList")->verticalScrollBar()->maximum() > 0);

    for (const std::int32_t id : ids)
        softphone().farEndHangUp(id);
    QTRY_VERIFY(child<QLabel>("noCalls")->isVisible());
    QTRY_VERIFY(panel().height() <= heightBefore);
}

void SimulatorPanelTest::aPanelMovedOffTheScreenComesBack()
{
    panel().move(available().left() - 722, available().top() - 40);
    QTRY_VERIFY(!onScreen());

    softphone().ring(u"030 12");

    QTRY_VERIFY(onScreen());
}

void SimulatorPanelTest::loadRingsTheChosenNumberOfCallersOneAfterAnother()
{
    child<QSpinBox>("loadCalls")->setValue(5);
    child<QSpinBox>("loadPace")->setValue(0);
    auto *load = child<QPushButton>("load");
    QCOMPARE(load->text(), QStringLiteral("Last starte&n"));

    QTest::mouseClick(load, Qt::LeftButton);

    QTRY_COMPARE(child<QLabel>("loadProgress")->text(), QStringLiteral("5 von 5 Anrufern"));
    QTRY_COMPARE(load->text(), QStringLiteral("Last starte&n"));
    for (int n = 1; n <= 5; ++n)
        QCOMPARE(ringLines(QString::fromStdU16String(app::LoadGenerator::callerNumber(n))), 1);
    // Each hung up when the next came, the last when the run ended.
    QVERIFY(softphone().calls().empty());
    QCOMPARE(ringLines(QString::fromStdU16String(app::LoadGenerator::callerNumber(6))), 0);
}

void SimulatorPanelTest::stoppingTheLoadHangsUpItsOpenCall()
{
    child<QSpinBox>("loadCalls")->setValue(3);
    child<QSpinBox>("loadPace")->setValue(60000);
    auto *load = child<QPushButton>("load");

    QTest::mouseClick(load, Qt::LeftButton);
    QCOMPARE(softphone().calls().size(), std::size_t(1));
    QCOMPARE(load->text(), QStringLiteral("A&nhalten"));
    QCOMPARE(child<QLabel>("loadProgress")->text(), QStringLiteral("1 von 3 Anrufern"));

    QTest::mouseClick(load, Qt::LeftButton);

    QVERIFY(softphone().calls().empty());
    QCOMPARE(load->text(), QStringLiteral("Last starte&n"));
    QCOMPARE(child<QLabel>("loadProgress")->text(), QStringLiteral("1 von 3 Anrufern"));
}

void SimulatorPanelTest::aClosedPanelComesBackFromForm1()
{
    panel().close();
    QVERIFY(!panel().isVisible());
    QVERIFY(m_bench->form().isVisible()); // closing the panel ends nothing

    QTest::keySequence(&m_bench->form(), QKeySequence(app::SimulatedTestbench::panelShortcut));

    QTRY_VERIFY(panel().isVisible());
    QVERIFY(onScreen());
}

void SimulatorPanelTest::everyButtonAndRowHasItsOwnAccessKey()
{
    softphone().ring(u"030 1"); // a call row, whose hang-up repeats on every row
    QTRY_VERIFY(panel().findChild<QPushButton *>(QStringLiteral("farEndHangUp1")) != nullptr);
    QMap<QChar, QString> keys;
    const auto take = [&](const QString &text) {
        const qsizetype amp = text.indexOf(u'&');
        QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text + " has no access key"));
        const QChar key = text[amp + 1].toLower();
        QVERIFY2(!keys.contains(key), qPrintable(text + " shares its key with " + keys[key]));
        keys[key] = text;
    };
    for (QAbstractButton *button : panel().findChildren<QAbstractButton *>()) {
        if (!button->objectName().startsWith(QStringLiteral("farEndHangUp")))
            take(button->text());
    }
    for (QLabel *label : panel().findChildren<QLabel *>()) {
        if (label->buddy())
            take(label->text());
    }
    take(panel().findChild<QPushButton *>(QStringLiteral("farEndHangUp1"))->text());
    QVERIFY(keys.size() >= 15);
}

void SimulatorPanelTest::aScreenReaderNamesEachFieldByItsRow_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("name");
    QTest::newRow("own number") << "ownNumber"
                                << "Eigene Rufnummer (MSN):";
    QTest::newRow("caller, in a row with its button") << "caller"
                                                      << "Anrufer:";
    QTest::newRow("member, a combo box") << "faultMember"
                                         << "Element:";
    QTest::newRow("fault mode, a combo box") << "faultMode"
                                             << "Fehler:";
    QTest::newRow("count answer, a combo box") << "countAnswer"
                                               << "ConnectionCount liefert:";
    QTest::newRow("load calls") << "loadCalls"
                                << "Anrufe:";
    QTest::newRow("load pace") << "loadPace"
                               << "Abstand:";
}

void SimulatorPanelTest::aScreenReaderNamesEachFieldByItsRow()
{
    QFETCH(QString, field);
    QFETCH(QString, name);
    QWidget *widget = panel().findChild<QWidget *>(field);
    QVERIFY(widget);
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(spoken);
    // The row's label is the field's label for a screen reader (beside the group it is in).
    QStringList labels;
    for (const auto &[label, relation] : spoken->relations(QAccessible::Label))
        labels << label->text(QAccessible::Name);
    QVERIFY2(labels.contains(name), qPrintable(labels.join(u'|')));
    // Qt on Linux names a combo box by its current item, as its text, and says what it is for
    // through that label; every other field bears the label's name itself.
    if (!qobject_cast<QComboBox *>(widget))
        QCOMPARE(spoken->text(QAccessible::Name), name);
}

void SimulatorPanelTest::everyFocusableWidgetHasASpokenName()
{
    softphone().ring(u"030 1");
    QTRY_VERIFY(panel().findChild<QPushButton *>(QStringLiteral("farEndHangUp1")) != nullptr);
    for (QWidget *window :
         {static_cast<QWidget *>(&panel()), static_cast<QWidget *>(&m_bench->form())}) {
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(window)
                || widget->focusProxy())
                continue;
            QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(spoken);
            const QString name = spoken->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName() + " has no spoken name"));
            QVERIFY2(name != widget->objectName(), qPrintable(name));
        }
    }
}

QTEST_MAIN(SimulatorPanelTest)
#include "SimulatorPanelTest.moc"
