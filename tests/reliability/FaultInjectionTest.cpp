// Every handler, with each access it makes to the control failing in turn: the handler stops
// at that access, the error is reported, and what it did before stays done, nothing more.
#include "tests/reliability/Session.h"

#include <QTest>

#include <string>
#include <vector>

namespace {

// The state common to every case: two calls connected (slots 1 and 2 hold 5 and 6), the labels
// showing count 2 and "alt", and the control now answering "neu" for LatestText.
const std::vector<std::string> commonSetup{
    "value ConnectionCount 1",
    "value LatestText \"alt\"",
    "event OnConnecting \"111\" \"222\" 5",
    "value ConnectionCount 2",
    "event OnConnecting \"111\" \"222\" 6",
    "value LatestText \"neu\"",
    "value IncomingCallID 9",
    "value ConvertNumber \"0123455566\"",
    "type TXT_Nummer \"0301234\"",
    "type TXT_SMS \"Hallo\"",
    "type TXT_DTMF \"123#\"",
};

struct ScriptedHandlerCase
{
    const char *handler;
    // Steps after the common setup; the load case has no common setup, its window is created
    // by the trigger.
    std::vector<std::string> setup;
    // The step that runs the handler; empty for the load step.
    std::string trigger;
    // For each access the handler makes, in order: the transcript when that access fails,
    // followed by the dump lines that changed.
    std::vector<QStringList> whenAccessFails;
};

QString lineOf(const char *event, int id)
{
    return QStringLiteral("line \"Ereignis: %1 (ID: %2) -    Nummer: 030 - MSN: 040\"")
        .arg(QLatin1String(event))
        .arg(id);
}

// The four events that only write their line.
ScriptedHandlerCase lineOnly(const char *event)
{
    const QString line = lineOf(event, 8);
    const QString strEvent = QStringLiteral("state strEvent \"%1\"").arg(QLatin1String(event));
    return {event,
            {},
            std::string("event ") + event + " \"030\" \"040\" 8",
            {
                // The line stays; both labels keep their captions.
                {line, "get ConnectionCount", "error component", "state LST_Message 3", strEvent},
                // The count's label is already refreshed, the last text's is not.
                {line, "get ConnectionCount", "caption LBL_Anzahl \"Anzahl Verbindungen:  2\"",
                 "get LatestText", "error component", "state LST_Message 3", strEvent},
            }};
}

const std::vector<ScriptedHandlerCase> &scriptedHandlerCases()
{
    static const std::vector<ScriptedHandlerCase> cases{
        {"load",
         {"value PopUp bool:true"},
         "",
         {
             // The check box is not set.
             {"get PopUp", "error component"},
         }},
        {"CHK_PopUp click",
         {},
         "click CHK_PopUp",
         {
             // The user's tick stays: nothing is rolled back.
             {"put PopUp i2:1", "error component", "state CHK_PopUp 1"},
         }},
        {"OnRing",
         {},
         "event OnRing \"030\" \"040\" 8",
         {
             // Annehmen keeps its state: the step after the line does not run.
             {lineOf("OnRing", 8), "get ConnectionCount", "error component", "state LST_Message 3",
              "state strEvent \"OnRing\""},
             {lineOf("OnRing", 8), "get ConnectionCount",
              "caption LBL_Anzahl \"Anzahl Verbindungen:  2\"", "get LatestText", "error component",
              "state LST_Message 3", "state strEvent \"OnRing\""},
         }},
        {"OnConnecting",
         {},
         "event OnConnecting \"030\" \"040\" 7",
         {
             // Nothing is stored and no line is written; strEvent keeps its value.
             {"get ConnectionCount", "error component"},
             // The slot is stored before the line, the line stays.
             {"get ConnectionCount", lineOf("OnConnecting", 7), "get ConnectionCount",
              "error component", "state LST_Message 3", "state CallIDs 0 5 7 0 0 0 0 0 0 0 0"},
             {"get ConnectionCount", lineOf("OnConnecting", 7), "get ConnectionCount",
              "caption LBL_Anzahl \"Anzahl Verbindungen:  2\"", "get LatestText", "error component",
              "state LST_Message 3", "state CallIDs 0 5 7 0 0 0 0 0 0 0 0"},
         }},
        lineOnly("OnConnected"),
        lineOnly("OnOffering"),
        {"OnDisConnected",
         {"event OnRing \"030\" \"040\" 1"},
         "event OnDisConnected \"030\" \"040\" 8",
         {
             // Annehmen stays enabled.
             {lineOf("OnDisConnected", 8), "get ConnectionCount", "error component",
              "state LST_Message 4", "state strEvent \"OnDisConnected\""},
             {lineOf("OnDisConnected", 8), "get ConnectionCount",
              "caption LBL_Anzahl \"Anzahl Verbindungen:  2\"", "get LatestText", "error component",
              "state LST_Message 4", "state strEvent \"OnDisConnected\""},
         }},
        lineOnly("OnDisconnecting"),
        lineOnly("OnIdle"),
        {"BTN_Dial click",
         {},
         "click BTN_Dial",
         {
             {"call Dial \"0301234\"", "error component"},
         }},
        {"Annehmen click",
         {"event OnRing \"030\" \"040\" 1"},
         "click Annehmen",
         {
             // No call into the control; Annehmen stays enabled either way.
             {"get IncomingCallID", "error component"},
             {"get IncomingCallID", "call AcceptCall &9", "error component"},
         }},
        {"BTN_Disconnect click",
         {},
         "click BTN_Disconnect",
         {
             // Stopped before any box.
             {"get ConnectionCount", "error component"},
             {"get ConnectionCount", "box 0 * \"2 = 6 wird jetzt beendet\"", "call HangUp 6",
              "error component"},
         }},
        {"BTN_DTMF click",
         {},
         "click BTN_DTMF",
         {
             {"get ConnectionCount", "error component"},
             {"get ConnectionCount", "call SendDTMF &6 \"123#\"", "error component"},
         }},
        {"BTN_SMS click",
         {},
         "click BTN_SMS",
         {
             {"call SendShortMessage \"0301234\" \"Hallo\"", "error component"},
         }},
        {"BTN_Konvert click",
         {},
         "click BTN_Konvert",
         {
             // TXT_Konvert keeps its text.
             {"call ConvertNumber \"(012) 34 55 66\"", "error component"},
         }},
        // These make no access at all, so nothing of theirs can fail.
        {"TXT_Konvert double click", {}, "dblclick TXT_Konvert", {}},
        {"BTN_Clear click", {}, "click BTN_Clear", {}},
        {"BTN_Exit click", {}, "click BTN_Exit", {}},
    };
    return cases;
}

// What a fresh window shows before its load step has set the check box.
const QStringList designedStart{
    "state TXT_Nummer \"\"",
    "state TXT_SMS \"\"",
    "state TXT_DTMF \"\"",
    "state TXT_Konvert \"(012) 34 55 66\"",
    "state LBL_Anzahl \"Anzahl Verbindungen: \"",
    "state LBL_Last \"Zuletzt: \"",
    "state Annehmen 0",
    "state CHK_PopUp 0",
    "state LST_Message 0",
    "state CallIDs 0 0 0 0 0 0 0 0 0 0 0",
    "state strEvent \"\"",
    "state focus TXT_Nummer",
};

struct Outcome
{
    QStringList transcript; // the trigger's, without its own "> " line
    QStringList changed;    // dump lines that differ from before the trigger
    int accesses = 0;       // how many accesses the trigger made
};

// Runs a case with access number failing (counted from the trigger's first access; -1 for
// none failing).
Outcome runCase(const ScriptedHandlerCase &handlerCase, int failing)
{
    reliability::Session session;
    const bool load = handlerCase.trigger.empty();
    if (!load) {
        for (const std::string &step : commonSetup)
            session.run(step);
    }
    for (const std::string &step : handlerCase.setup)
        session.run(step);
    const QStringList before = load ? designedStart : session.state();
    session.take();

    const int first = session.control().accessCount();
    if (failing >= 0)
        session.control().failAccess(first + failing);
    Outcome outcome;
    if (load) {
        session.finish();
        outcome.transcript = session.take();
    } else {
        session.run(handlerCase.trigger);
        outcome.transcript = session.take();
        outcome.transcript.removeFirst();
    }
    outcome.accesses = session.control().accessCount() - first;
    outcome.changed = reliability::changedLines(before, session.state());
    // Where the focus went is the user's click, not the handler's doing.
    outcome.changed.removeIf([](const QString &line) { return line.startsWith("state focus"); });
    return outcome;
}

} // namespace

class FaultInjectionTest : public QObject
{
    Q_OBJECT

private slots:
    void everyAccessOfEveryHandlerHasItsCase_data();
    void everyAccessOfEveryHandlerHasItsCase();
    void failingAccessLeavesWhatTheRulesSay_data();
    void failingAccessLeavesWhatTheRulesSay();
};

void FaultInjectionTest::everyAccessOfEveryHandlerHasItsCase_data()
{
    QTest::addColumn<int>("handler");
    for (std::size_t i = 0; i < scriptedHandlerCases().size(); ++i)
        QTest::newRow(scriptedHandlerCases()[i].handler) << static_cast<int>(i);
}

void FaultInjectionTest::everyAccessOfEveryHandlerHasItsCase()
{
    QFETCH(int, handler);
    const ScriptedHandlerCase &handlerCase =
        scriptedHandlerCases()[static_cast<std::size_t>(handler)];
    const Outcome clean = runCase(handlerCase, -1);
    QVERIFY2(!clean.transcript.contains(QStringLiteral("error component")),
             qPrintable(clean.transcript.join(u'\n')));
    QCOMPARE(clean.accesses, static_cast<int>(handlerCase.whenAccessFails.size()));
}

void FaultInjectionTest::failingAccessLeavesWhatTheRulesSay_data()
{
    QTest::addColumn<int>("handler");
    QTest::addColumn<int>("failing");
    for (std::size_t i = 0; i < scriptedHandlerCases().size(); ++i) {
        const ScriptedHandlerCase &handlerCase = scriptedHandlerCases()[i];
        for (std::size_t k = 0; k < handlerCase.whenAccessFails.size(); ++k) {
            QTest::addRow("%s, access %zu of %zu fails", handlerCase.handler, k + 1,
                          handlerCase.whenAccessFails.size())
                << static_cast<int>(i) << static_cast<int>(k);
        }
    }
}

void FaultInjectionTest::failingAccessLeavesWhatTheRulesSay()
{
    QFETCH(int, handler);
    QFETCH(int, failing);
    const ScriptedHandlerCase &handlerCase =
        scriptedHandlerCases()[static_cast<std::size_t>(handler)];
    const Outcome outcome = runCase(handlerCase, failing);
    QCOMPARE((outcome.transcript + outcome.changed).join(u'\n'),
             handlerCase.whenAccessFails[static_cast<std::size_t>(failing)].join(u'\n'));
}

QTEST_MAIN(FaultInjectionTest)
#include "FaultInjectionTest.moc"
