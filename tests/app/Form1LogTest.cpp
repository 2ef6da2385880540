#include "app/Form1.h"
#include "form/Dialogs.h"
#include "form/FormObserver.h"
#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/scripted/ScriptedControl.h"
#include "tests/support/RecordingDialogs.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

namespace {

class RecordingObserver : public form::FormObserver
{
public:
    void lineAdded(const std::u16string &line) override { trace.push_back(u"line " + line); }
    void listCleared() override { trace.push_back(u"cleared"); }
    void captionSet(form::Control, const std::u16string &caption) override
    {
        trace.push_back(u"caption " + caption);
    }
    void enabledSet(form::Control, bool) override {}
    void textSet(form::Control, const std::u16string &) override {}
    void checkSet(form::Control, int) override {}
    void unloaded() override {}
    std::vector<std::u16string> trace;
};

std::u16string lineFor(std::int32_t callId)
{
    return u"Ereignis: OnConnected (ID: " + std::u16string(QString::number(callId).toStdU16String())
           + u") -    Nummer: 0301234567 - MSN: 4711";
}

struct Rig
{
    Rig()
        : form(control, dialogs, &observer)
    {
        form.show();
    }
    void setCount(std::int32_t count) { control.setAnswer(phone::dispid::ConnectionCount, count); }
    void setLatest(const std::u16string &latest)
    {
        control.setAnswer(phone::dispid::LatestText, latest);
    }
    void raise(std::int32_t callId)
    {
        control.raiseEvent(phone::event::OnConnected,
                           {std::u16string(u"0301234567"), std::u16string(u"4711"), callId});
    }
    QListView *list() const
    {
        return static_cast<QListView *>(form.widget(form::Control::LST_Message));
    }
    QAction *action(const QString &text) const
    {
        for (QAction *action : list()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    // Lines "Zeile 0", "Zeile 1" ..., listed.
    void addLines(int count)
    {
        const int first = form.messages().lineCount();
        for (int i = first; i < first + count; ++i)
            form.addItem(QStringLiteral("Zeile %1").arg(i).toStdU16String());
        QTRY_COMPARE(listedRows(), first + count);
    }
    void clickRow(int row, Qt::KeyboardModifiers modifiers)
    {
        const QRect rect = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, rect.center());
    }
    QString labelText(form::Control label) const
    {
        return static_cast<QLabel *>(form.widget(label))->text();
    }
    int listedRows() const
    {
        return static_cast<QListView *>(form.widget(form::Control::LST_Message))
            ->model()
            ->rowCount();
    }

    phone::scripted::ScriptedControl control;
    testsupport::RecordingDialogs dialogs;
    RecordingObserver observer;
    app::Form1 form;
};

} // namespace

class Form1LogTest : public QObject
{
    Q_OBJECT

private slots:
    void eachLineIsTracedAtOnceAndListedByTheNextFrame();
    void labelsShowTheValuesReadAfterTheNewestLine();
    void failedLatestTextReadKeepsItsCaption();
    void clearEmptiesTheListAtOnceAndKeepsTheLabels();
    void ctrlCCopiesTheSelectedLinesInListOrder();
    void selectAllCopiesEveryLineWhole();
    void contextMenuOffersCopyingAndFollowing();
    void copyAllWithTimePutsTheArrivalInFront();
    void listFollowsNewLinesOnlyWhenAsked();
    void onlyTheFocusedListReportsAFocusedRow();
};

void Form1LogTest::eachLineIsTracedAtOnceAndListedByTheNextFrame()
{
    Rig rig;
    rig.setCount(2);
    rig.setLatest(u"Anruf von 0301234567");

    rig.raise(7);

    const std::vector<std::u16string> expected{
        u"line " + lineFor(7),
        u"caption Anzahl Verbindungen:  2",
        u"caption Zuletzt: Anruf von 0301234567",
    };
    QVERIFY(rig.observer.trace == expected);
    QCOMPARE(rig.form.messages().lineCount(), 1);
    QVERIFY(rig.form.caption(form::Control::LBL_Last) == u"Zuletzt: Anruf von 0301234567");
    QTRY_COMPARE(rig.listedRows(), 1);
    QCOMPARE(rig.form.messages().line(0), QString::fromStdU16String(lineFor(7)));
    QTRY_COMPARE(rig.labelText(form::Control::LBL_Last),
                 QStringLiteral("Zuletzt: Anruf von 0301234567"));
    QCOMPARE(rig.labelText(form::Control::LBL_Anzahl), QStringLiteral("Anzahl Verbindungen:  2"));
}

void Form1LogTest::labelsShowTheValuesReadAfterTheNewestLine()
{
    Rig rig;
    const int events = 500;
    for (int i = 1; i <= events; ++i) {
        rig.setCount(i % 11);
        rig.setLatest(QStringLiteral("Text %1").arg(i).toStdU16String());
        rig.raise(i);
    }
    QCOMPARE(rig.observer.trace.size(), std::size_t(3 * events));

    QTRY_COMPARE(rig.labelText(form::Control::LBL_Last), QStringLiteral("Zuletzt: Text 500"));
    // The list and both labels change together: once the newest caption shows, so does the
    // newest line.
    QCOMPARE(rig.listedRows(), events);
    QCOMPARE(rig.form.messages().line(events - 1), QString::fromStdU16String(lineFor(events)));
    QCOMPARE(rig.labelText(form::Control::LBL_Anzahl),
             QStringLiteral("Anzahl Verbindungen:  %1").arg(events % 11));
}

void Form1LogTest::failedLatestTextReadKeepsItsCaption()
{
    Rig rig;
    rig.setCount(1);
    rig.setLatest(u"alt");
    rig.raise(1);
    rig.setCount(5);
    rig.control.setFailing(phone::dispid::LatestText);

    rig.raise(2);

    QCOMPARE(rig.dialogs.errors.size(), std::size_t(1));
    QTRY_COMPARE(rig.listedRows(), 2);
    QTRY_COMPARE(rig.labelText(form::Control::LBL_Anzahl),
                 QStringLiteral("Anzahl Verbindungen:  5"));
    QCOMPARE(rig.labelText(form::Control::LBL_Last), QStringLiteral("Zuletzt: alt"));
}

void Form1LogTest::clearEmptiesTheListAtOnceAndKeepsTheLabels()
{
    Rig rig;
    rig.setCount(3);
    rig.setLatest(u"vorher");
    for (int i = 0; i < 20; ++i)
        rig.raise(i);
    QTRY_COMPARE(rig.listedRows(), 20);
    rig.setLatest(u"zuletzt");
    rig.raise(99); // stored, not yet listed

    static_cast<QPushButton *>(rig.form.widget(form::Control::BTN_Clear))->click();

    QCOMPARE(rig.listedRows(), 0);
    QCOMPARE(rig.form.messages().lineCount(), 0);
    QVERIFY(rig.observer.trace.back() == u"cleared");
    // The next refresh shows the newest caption, and no line comes back.
    QTRY_COMPARE(rig.labelText(form::Control::LBL_Last), QStringLiteral("Zuletzt: zuletzt"));
    QCOMPARE(rig.listedRows(), 0);
    QCOMPARE(rig.labelText(form::Control::LBL_Anzahl), QStringLiteral("Anzahl Verbindungen:  3"));
}

void Form1LogTest::ctrlCCopiesTheSelectedLinesInListOrder()
{
    Rig rig;
    rig.addLines(8);
    rig.list()->setFocus();
    rig.clickRow(6, Qt::NoModifier);
    rig.clickRow(1, Qt::ControlModifier);
    QTest::keyClick(rig.list(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(rig.list(), Qt::Key_Down, Qt::ShiftModifier);

    QTest::keyClick(rig.list(), Qt::Key_C, Qt::ControlModifier);

    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Zeile 1\nZeile 2\nZeile 3\nZeile 6"));
}

void Form1LogTest::selectAllCopiesEveryLineWhole()
{
    Rig rig;
    const QString longLine = QStringLiteral("Ereignis: OnRing (ID: 1) -    Nummer: ")
                             + QString(3000, QLatin1Char('9')) + QStringLiteral(" - MSN: 4711");
    rig.addLines(2);
    rig.form.addItem(longLine.toStdU16String());
    QTRY_COMPARE(rig.listedRows(), 3);
    rig.list()->setFocus();

    QTest::keyClick(rig.list(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(rig.list(), Qt::Key_C, Qt::ControlModifier);

    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Zeile 0\nZeile 1\n") + longLine);
}

void Form1LogTest::contextMenuOffersCopyingAndFollowing()
{
    Rig rig;
    QCOMPARE(rig.list()->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList texts;
    for (const QAction *action : rig.list()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(texts, QStringList({"Kopieren", "Alles kopieren", "Alles mit Uhrzeit kopieren", "-",
                                 "Neuen Zeilen folgen"}));
    QAction *follow = rig.action(QStringLiteral("Neuen Zeilen folgen"));
    QVERIFY(follow->isCheckable());
    QVERIFY(!follow->isChecked());
    // Nothing to copy yet.
    QVERIFY(!rig.action(QStringLiteral("Kopieren"))->isEnabled());
    QVERIFY(!rig.action(QStringLiteral("Alles kopieren"))->isEnabled());

    rig.addLines(3);
    QVERIFY(rig.action(QStringLiteral("Alles kopieren"))->isEnabled());
    QVERIFY(!rig.action(QStringLiteral("Kopieren"))->isEnabled());
    rig.clickRow(2, Qt::NoModifier);
    QVERIFY(rig.action(QStringLiteral("Kopieren"))->isEnabled());

    rig.action(QStringLiteral("Alles kopieren"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Zeile 0\nZeile 1\nZeile 2"));
    rig.action(QStringLiteral("Kopieren"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Zeile 2"));
    QVERIFY(rig.dialogs.errors.empty());
}

void Form1LogTest::copyAllWithTimePutsTheArrivalInFront()
{
    Rig rig;
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    rig.addLines(2);
    const qint64 after = QDateTime::currentMSecsSinceEpoch();
    rig.form.addItem(u"noch nicht gelistet"); // stored: "Alles" means every line there is

    rig.action(QStringLiteral("Alles mit Uhrzeit kopieren"))->trigger();

    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    QCOMPARE(lines.size(), 3);
    const QStringList texts{"Zeile 0", "Zeile 1", "noch nicht gelistet"};
    const QRegularExpression timed(QStringLiteral("^(\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d)\t(.*)$"));
    for (int i = 0; i < 2; ++i) {
        const QRegularExpressionMatch match = timed.match(lines[i]);
        QVERIFY2(match.hasMatch(), qPrintable(lines[i]));
        QCOMPARE(match.captured(2), texts[i]);
        const QTime time = QTime::fromString(match.captured(1), QStringLiteral("HH:mm:ss.zzz"));
        const QTime from = QDateTime::fromMSecsSinceEpoch(before).time();
        const QTime to = QDateTime::fromMSecsSinceEpoch(after).time();
        QVERIFY2((from <= time && time <= to) || to < from, qPrintable(match.captured(1)));
    }
    QVERIFY(lines[2].endsWith(QStringLiteral("\tnoch nicht gelistet")));
}

void Form1LogTest::listFollowsNewLinesOnlyWhenAsked()
{
    Rig rig;
    QScrollBar *bar = rig.list()->verticalScrollBar();
    rig.addLines(200);
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0); // the program itself does not scroll the list

    rig.action(QStringLiteral("Neuen Zeilen folgen"))->trigger();
    QCOMPARE(bar->value(), bar->maximum());
    const int bottom = bar->maximum();
    rig.addLines(50);
    QVERIFY(bar->maximum() > bottom);
    QCOMPARE(bar->value(), bar->maximum());

    rig.action(QStringLiteral("Neuen Zeilen folgen"))->trigger();
    const int kept = bar->value();
    rig.addLines(50);
    QCOMPARE(bar->value(), kept);
}

void Form1LogTest::onlyTheFocusedListReportsAFocusedRow()
{
    Rig rig;
    rig.addLines(3);
    rig.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.form));
    rig.list()->setFocus();
    QTRY_VERIFY(rig.list()->hasFocus());
    QTest::keyClick(rig.list(), Qt::Key_Down);
    QTest::keyClick(rig.list(), Qt::Key_Down);
    QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(rig.list());
    const auto focusedRows = [&] {
        QList<int> rows;
        for (int row = 0; row < spoken->childCount(); ++row) {
            if (spoken->child(row)->state().focused)
                rows << row;
        }
        return rows;
    };
    QCOMPARE(focusedRows(), QList<int>{2});

    QWidget *dial = rig.form.widget(form::Control::BTN_Dial);
    dial->setFocus();
    QTRY_VERIFY(dial->hasFocus());
    QCOMPARE(focusedRows(), QList<int>{});

    // Back in the list, its row is where the user left it, selection anchor included.
    rig.list()->setFocus();
    QTRY_VERIFY(rig.list()->hasFocus());
    QCOMPARE(focusedRows(), QList<int>{2});
    QTest::keyClick(rig.list(), Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(rig.list(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Zeile 1\nZeile 2"));
}

QTEST_MAIN(Form1LogTest)
#include "Form1LogTest.moc"
