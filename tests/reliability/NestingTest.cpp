// Handlers nested inside one another, as events raised inside the window's own accesses or
// while a box is open make them: up to the bound they run exactly as they would one after
// another; a handler that is to start beyond it stops with the out-of-stack error, and the
// window, its log and the handlers already running go on.
#include "tests/reliability/Session.h"

#include "app/Form1.h"
#include "phone/Members.h"
#include "tests/support/RecordingDialogs.h"

#include <QTest>

#include <string>

namespace {

constexpr int bound = app::Form1::maxHandlerDepth;

QString idleEvent(int id)
{
    return QStringLiteral("event OnIdle \"a\" \"b\" %1").arg(id);
}

QString idleLine(int id)
{
    return QStringLiteral("line \"Ereignis: OnIdle (ID: %1) -    Nummer: a - MSN: b\"").arg(id);
}

// What `handlers` OnIdle handlers print, each raised inside the count read of the one before:
// the line, the read, inside it the next event's step and its handler, then the rest of the
// label updates. The window's own handler's output nests as the format describes it.
QStringList nestedTranscript(int handlers, int firstId = 0, int level = 0)
{
    QStringList lines{idleLine((firstId + level) % 11), QStringLiteral("get ConnectionCount")};
    if (level + 1 < handlers) {
        lines << QStringLiteral("> ") + idleEvent((firstId + level + 1) % 11);
        lines << nestedTranscript(handlers, firstId, level + 1);
    }
    lines << QStringLiteral("caption LBL_Anzahl \"Anzahl Verbindungen:  0\"")
          << QStringLiteral("get LatestText") << QStringLiteral("caption LBL_Last \"Zuletzt: \"");
    return lines;
}

void holdChain(reliability::Session &session, int pending, int firstId)
{
    for (int i = 0; i < pending; ++i) {
        session.run(QStringLiteral("while-call ConnectionCount %1")
                        .arg(idleEvent((firstId + i) % 11))
                        .toStdString());
    }
}

} // namespace

class NestingTest : public QObject
{
    Q_OBJECT

private slots:
    void chainsUpToTheBoundRunUnchanged_data();
    void chainsUpToTheBoundRunUnchanged();
    void theHandlerPastTheBoundStopsBeforeItsFirstStep_data();
    void theHandlerPastTheBoundStopsBeforeItsFirstStep();
    void twentyThousandPendingEventsNestNoDeeperThanTheBound();
    void boxesHoldingClicksNestNoDeeperThanTheBound();
    void aControlThatNeverStopsRaisingLeavesTheWindowWorking();
};

void NestingTest::chainsUpToTheBoundRunUnchanged_data()
{
    QTest::addColumn<int>("handlers");
    QTest::newRow("one handler") << 1;
    QTest::newRow("two handlers") << 2;
    QTest::newRow("sixty handlers") << 60;
    QTest::newRow("exactly at the bound") << bound;
}

void NestingTest::chainsUpToTheBoundRunUnchanged()
{
    QFETCH(int, handlers);
    reliability::Session session;
    session.finish();
    session.take();
    holdChain(session, handlers - 1, 1);
    QCOMPARE(session.take().size(), handlers - 1); // only the steps' own lines
    session.run(idleEvent(0).toStdString());

    QStringList expected{QStringLiteral("> ") + idleEvent(0)};
    expected << nestedTranscript(handlers);
    QCOMPARE(session.take(), expected);
    QCOMPARE(session.form().messages().lineCount(), qsizetype(handlers));
}

void NestingTest::theHandlerPastTheBoundStopsBeforeItsFirstStep_data()
{
    QTest::addColumn<int>("pending");
    QTest::newRow("one past the bound") << bound;
    QTest::newRow("far past the bound") << 3 * bound;
}

void NestingTest::theHandlerPastTheBoundStopsBeforeItsFirstStep()
{
    QFETCH(int, pending);
    reliability::Session session;
    session.finish();
    holdChain(session, pending, 1);
    session.take();
    session.run(idleEvent(0).toStdString());
    const QStringList lines = session.take();

    // The refused handler printed nothing but its report, right after its event's step.
    QCOMPARE(lines.count(QStringLiteral("error stack")), 1);
    const qsizetype error = lines.indexOf(QStringLiteral("error stack"));
    QCOMPARE(lines[error - 1], QStringLiteral("> ") + idleEvent(bound % 11));
    QCOMPARE(lines.count(QStringLiteral("get ConnectionCount")), bound);
    QCOMPARE(lines.count(QStringLiteral("caption LBL_Last \"Zuletzt: \"")), bound);
    QCOMPARE(session.form().messages().lineCount(), qsizetype(bound));

    // The steps past the refused one still wait, in script order, for later reads.
    session.run(idleEvent(5).toStdString());
    const QStringList next = session.take();
    if (pending > bound)
        QCOMPARE(next[3], QStringLiteral("> ") + idleEvent((bound + 1) % 11));
    else
        QCOMPARE(next, QStringList{QStringLiteral("> ") + idleEvent(5)} << nestedTranscript(1, 5));
}

void NestingTest::twentyThousandPendingEventsNestNoDeeperThanTheBound()
{
    reliability::Session session;
    session.finish();
    constexpr int pending = 20000;
    holdChain(session, pending, 0);
    session.take();
    // Each top-level event takes the waiting steps until its chain reaches the bound, where one
    // event is refused; every other event runs its handler and writes its line.
    int rounds = 0;
    int events = 0;
    int refused = 0;
    int handled = 0;
    for (int nested = 1; nested > 0 && rounds < pending; ++rounds) {
        session.run(idleEvent(0).toStdString());
        nested = -1;
        for (const QString &line : session.take()) {
            nested += line.startsWith(QStringLiteral("> event")) ? 1 : 0;
            refused += line == QStringLiteral("error stack") ? 1 : 0;
            handled += line.startsWith(QStringLiteral("line ")) ? 1 : 0;
            QVERIFY2(!line.startsWith(QStringLiteral("error")) || line == "error stack",
                     qPrintable(line));
        }
        events += nested + 1;
    }
    // A full chain takes `bound` steps: the last of them is the refused one.
    QCOMPARE(events, pending + rounds);
    QCOMPARE(refused, pending / bound);
    QCOMPARE(handled, events - refused);
    QCOMPARE(session.form().messages().lineCount(), qsizetype(handled));
}

void NestingTest::boxesHoldingClicksNestNoDeeperThanTheBound()
{
    // Each hang-up box holds the next hang-up's click, whose own box holds the next one.
    reliability::Session session;
    session.run({"value ConnectionCount 1", R"(event OnConnecting "1" "2" 5)"});
    for (int i = 0; i < 2500; ++i)
        session.run("while-box click BTN_Disconnect");
    session.take();
    session.run("click BTN_Disconnect");
    const QStringList lines = session.take();
    QCOMPARE(lines.count(QStringLiteral("error stack")), 1);
    QCOMPARE(lines.count(QStringLiteral("box 0 * \"1 = 5 wird jetzt beendet\"")), bound);
    QCOMPARE(lines.count(QStringLiteral("call HangUp 5")), bound);
    QCOMPARE(lines.last(), QStringLiteral("call HangUp 5"));
}

void NestingTest::aControlThatNeverStopsRaisingLeavesTheWindowWorking()
{
    phone::scripted::ScriptedControl control;
    testsupport::RecordingDialogs dialogs;
    app::Form1 form(control, dialogs);
    bool raising = true;
    const phone::EventArguments event{phone::Value{std::u16string(u"030")},
                                      phone::Value{std::u16string(u"45")}, phone::Value{2}};
    // Inside every count read, without end: each handler starts the next one.
    control.onAccess([&](const phone::scripted::Access &access) {
        if (raising && access.dispId == phone::dispid::ConnectionCount)
            control.raiseEvent("OnRing", event);
    });
    control.raiseEvent("OnRing", event);

    QCOMPARE(dialogs.errors.size(), std::size_t(1));
    QCOMPARE(dialogs.errors[0].kind, phone::ErrorKind::Stack);
    QCOMPARE(dialogs.errors[0].description, "Laufzeitfehler '28': Nicht genügend Stapelspeicher");
    QCOMPARE(form.messages().lineCount(), qsizetype(bound));

    raising = false;
    const qsizetype before = form.messages().lineCount();
    const std::size_t errorsBefore = dialogs.errors.size();
    control.raiseEvent("OnIdle", event);
    QCOMPARE(form.messages().lineCount(), before + 1);
    QCOMPARE(dialogs.errors.size(), errorsBefore);
    QVERIFY(form.widget(form::Control::Annehmen)->isEnabled());
}

QTEST_MAIN(NestingTest)
#include "NestingTest.moc"
