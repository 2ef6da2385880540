// A recording replays to the transcript of the run it recorded: random scripts with events
// held inside accesses and boxes, hostile values, and long sessions.
#include "trace/SessionRecorder.h"

#include "phone/scripted/Literal.h"
#include "tools/scenario/Replay.h"
#include "tools/scenario/ScenarioRunner.h"

#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Run
{
    std::string transcript;
    std::string recording;
};

// Runs the script's lines, recording; a line the tool would refuse ends the run there.
Run recordedRun(const std::vector<std::string> &script)
{
    std::ostringstream transcript;
    std::stringbuf recording; // outlives the recorder, which owns the stream onto it
    {
        trace::SessionRecorder recorder(std::make_unique<std::ostream>(&recording),
                                        [] { return std::string("00:00:00"); });
        scenario::ScenarioRunner runner(transcript);
        runner.tap(recorder.tap());
        for (const std::string &line : script) {
            try {
                runner.runLine(line);
            } catch (const scenario::ScriptError &) {
                break;
            }
        }
        runner.finish();
        // The runner and its window go first, then the recorder writes what is left.
    }
    return {transcript.str(), recording.str()};
}

// Scripts of every kind of step, held ones included, with values of every kind.
class ScriptGenerator
{
public:
    explicit ScriptGenerator(unsigned seed)
        : m_random(seed)
    {}

    std::vector<std::string> script(int length)
    {
        std::vector<std::string> lines;
        bool holding = false;
        for (int i = 0; i < length; ++i) {
            const int kind = pick(10);
            if (kind == 0) {
                lines.push_back("while-box " + plainStep());
                holding = true;
            } else if (kind == 1) {
                lines.push_back("while-call " + member() + ' ' + plainStep());
                holding = true;
            } else if (kind == 2 && holding) {
                lines.push_back("and " + plainStep());
            } else {
                lines.push_back(plainStep());
                holding = false;
            }
        }
        return lines;
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    template <std::size_t N>
    std::string oneOf(const char *const (&choices)[N])
    {
        return choices[pick(static_cast<int>(N))];
    }

    std::string member()
    {
        return oneOf({"ConnectionCount", "ConnectionCount", "LatestText", "PopUp", "IncomingCallID",
                      "Dial", "HangUp", "SendDTMF", "SendShortMessage", "AcceptCall",
                      "ConvertNumber"});
    }
    std::string value()
    {
        return oneOf({"0",
                      "1",
                      "2",
                      "5",
                      "10",
                      "11",
                      "-1",
                      "2147483647",
                      "i2:3",
                      "r8:2.5",
                      "r8:1e10",
                      "r8:nan",
                      "bool:true",
                      "bool:false",
                      "\"3\"",
                      "\"\"",
                      "\"Verbunden\"",
                      "\"a\\\"b\\\\c\"",
                      "empty",
                      "null"});
    }
    std::string text()
    {
        return oneOf({"\"\"", "\"0301\"", "\"123#\"", "\"äß€\"", "\"a\\\"b\\\\c\"", "\"  \""});
    }
    std::string plainStep()
    {
        switch (pick(9)) {
        case 0:
            return "value " + member() + ' ' + value();
        case 1:
            return "fail " + member();
        case 2:
        case 3:
        case 4:
            return "event "
                   + oneOf({"OnRing", "OnConnecting", "OnConnected", "OnOffering", "OnDisConnected",
                            "OnDisconnecting", "OnIdle", "OnDisconnected"})
                   + ' ' + text() + ' ' + text() + ' ' + value();
        case 5:
            return "type " + oneOf({"TXT_Nummer", "TXT_SMS", "TXT_DTMF", "TXT_Konvert"}) + ' '
                   + text();
        case 6:
            return "dblclick " + oneOf({"TXT_Konvert", "BTN_Clear"});
        default:
            return "click "
                   + oneOf({"BTN_Dial", "Annehmen", "BTN_Disconnect", "BTN_DTMF", "BTN_SMS",
                            "BTN_Konvert", "BTN_Clear", "CHK_PopUp", "BTN_Disconnect"});
        }
    }

    std::mt19937 m_random;
};

} // namespace

class RecordReplayTest : public QObject
{
    Q_OBJECT

private slots:
    void randomScriptsReplayToTheirTranscript();
    void hostileValuesReplay_data();
    void hostileValuesReplay();
    void longSessionReplays();
};

void RecordReplayTest::randomScriptsReplayToTheirTranscript()
{
    constexpr unsigned scripts = 300;
    for (unsigned seed = 1; seed <= scripts; ++seed) {
        const std::vector<std::string> script = ScriptGenerator(seed).script(24);
        const Run run = recordedRun(script);
        std::string replay;
        try {
            replay = scenario::replayed(run.recording);
        } catch (const scenario::ScriptError &error) {
            QFAIL(qPrintable(QStringLiteral("seed %1: the recording is refused: %2\n%3")
                                 .arg(seed)
                                 .arg(QString::fromStdString(error.what()),
                                      QString::fromStdString(run.recording))));
        }
        const std::string live = scenario::replayedPart(run.transcript);
        QVERIFY2(scenario::replayedPart(replay) == live,
                 qPrintable(QStringLiteral("seed %1\n--- live ---\n%2--- recording ---\n%3"
                                           "--- replayed ---\n%4")
                                .arg(seed)
                                .arg(QString::fromStdString(run.transcript),
                                     QString::fromStdString(run.recording),
                                     QString::fromStdString(replay))));
    }
}

void RecordReplayTest::hostileValuesReplay_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes and backslashes") << QStringLiteral("\"\\\"\\\\\"");
    QTest::newRow("a trailing backslash") << QStringLiteral("C:\\");
    QTest::newRow("blanks, tabs and no-break spaces") << QStringLiteral("  \t \u00a0 ");
    QTest::newRow("beyond the basic plane") << QStringLiteral("\U0001F4DE \u20ac \u00e4");
    QTest::newRow("a step's own words") << QStringLiteral("\" and event OnRing \"");
    QTest::newRow("1 MB") << QString(1 << 20, u'x');
}

void RecordReplayTest::hostileValuesReplay()
{
    QFETCH(QString, text);
    const std::string literal = phone::scripted::textLiteral(text.toStdU16String());
    const Run run =
        recordedRun({"value LatestText " + literal, "event OnIdle " + literal + " \"\" 1",
                     "type TXT_SMS " + literal, "click BTN_SMS"});
    QVERIFY(run.transcript.find("\nline ") != std::string::npos);
    QVERIFY(run.transcript.find("\ncall SendShortMessage ") != std::string::npos);
    QCOMPARE(scenario::replayedPart(scenario::replayed(run.recording)),
             scenario::replayedPart(run.transcript));
}

void RecordReplayTest::longSessionReplays()
{
    // 100,000 events, the count changing every time: each event's reads are told apart.
    std::vector<std::string> script;
    for (int i = 0; i < 100000; ++i) {
        script.push_back("value ConnectionCount " + std::to_string(i % 12));
        script.push_back("event OnConnecting \"0301\" \"4711\" " + std::to_string(i));
    }
    const Run run = recordedRun(script);
    const std::string live = scenario::replayedPart(run.transcript);
    // The load's two lines; six for each event, but two for the 8,333 at count 11, which stop
    // on the range error after the count's read.
    QCOMPARE(std::count(live.begin(), live.end(), '\n'), 2 + (100000 - 8333) * 6 + 8333 * 2);
    QCOMPARE(scenario::replayedPart(scenario::replayed(run.recording)), live);
}

QTEST_MAIN(RecordReplayTest)
#include "RecordReplayTest.moc"
