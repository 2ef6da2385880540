// The trace of a live session: what crossed between the window and the simulated softphone,
// line for line as a transcript prints it, each line in the file the moment it happens; and
// a trace or a recording that cannot be written.
#include "trace/SessionTrace.h"

#include "app/Form1.h"
#include "app/SimulatedTestbench.h"
#include "phone/Members.h"
#include "tests/support/FakeEventLoop.h"
#include "tests/support/RecordingDialogs.h"
#include "trace/OutputFile.h"
#include "trace/SessionRecorder.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sstream>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Rings and answers at fixed steps of the hand-moved clock.
constexpr phone::sim::Timing timing{30ms, 60ms, 20000ms, 0ms};

QStringList linesOf(const std::string &text)
{
    QStringList lines = QString::fromStdString(text).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A box that looks at the trace while it is open.
class PeekingDialogs : public form::Dialogs
{
public:
    explicit PeekingDialogs(const std::ostringstream &trace)
        : m_trace(trace)
    {}
    void messageBox(const std::u16string &, form::BoxStyle,
                    const std::optional<std::u16string> &) override
    {
        seenWhileOpen = linesOf(m_trace.str());
    }
    void errorReport(const phone::Error &) override { seenWhileOpen = linesOf(m_trace.str()); }

    QStringList seenWhileOpen;

private:
    const std::ostringstream &m_trace;
};

// A disk with room for a few bytes only.
class FullDisk : public std::streambuf
{
public:
    FullDisk() { setp(m_room, m_room + sizeof m_room); }

protected:
    int_type overflow(int_type) override { return traits_type::eof(); }

private:
    char m_room[8];
};

} // namespace

class SessionTraceTest : public QObject
{
    Q_OBJECT

private slots:
    void tracesACallAgainstTheSimulation();
    void tracesBoxesAndReportsBeforeTheyShow();
    void everyLineIsInTheFileAtOnce();
    void refusesATraceThatCannotBeWritten_data();
    void refusesATraceThatCannotBeWritten();
    void tellsOnceWhenTheDiskFills_data();
    void tellsOnceWhenTheDiskFills();
};

void SessionTraceTest::tracesACallAgainstTheSimulation()
{
    testsupport::FakeEventLoop loop;
    testsupport::RecordingDialogs shown;
    auto owned = std::make_unique<std::ostringstream>();
    std::ostringstream &out = *owned;
    trace::SessionTrace sessionTrace(std::move(owned));
    app::SimulatedTestbench bench(shown, loop, loop.makeScheduler(), timing, {sessionTrace.tap()});
    bench.show();
    auto *number = bench.form().findChild<QLineEdit *>(QStringLiteral("TXT_Nummer"));
    QTest::keyClicks(number, QStringLiteral("0301"));
    QTest::mouseClick(bench.form().findChild<QPushButton *>(QStringLiteral("BTN_Dial")),
                      Qt::LeftButton);
    loop.advance(100ms);
    QTest::mouseClick(bench.form().findChild<QPushButton *>(QStringLiteral("BTN_Disconnect")),
                      Qt::LeftButton);
    loop.advance(100ms);

    // The user's typing is no line; the window's accesses and changes are, and the box.
    const QStringList expected = {
        "get PopUp",
        "check CHK_PopUp 1",
        "call Dial \"0301\"",
        "get ConnectionCount",
        "line \"Ereignis: OnConnecting (ID: 1) -    Nummer: 4711 - MSN: 0301\"",
        "get ConnectionCount",
        "caption LBL_Anzahl \"Anzahl Verbindungen:  1\"",
        "get LatestText",
        "caption LBL_Last \"Zuletzt: Wähle 0301\"",
        "line \"Ereignis: OnConnected (ID: 1) -    Nummer: 4711 - MSN: 0301\"",
        "get ConnectionCount",
        "caption LBL_Anzahl \"Anzahl Verbindungen:  1\"",
        "get LatestText",
        "caption LBL_Last \"Zuletzt: Verbunden mit 0301\"",
        "get ConnectionCount",
        "box 0 * \"1 = 1 wird jetzt beendet\"",
        "call HangUp 1",
        "line \"Ereignis: OnDisconnecting (ID: 1) -    Nummer: 4711 - MSN: 0301\"",
        "get ConnectionCount",
        "caption LBL_Anzahl \"Anzahl Verbindungen:  1\"",
        "get LatestText",
        "caption LBL_Last \"Zuletzt: Trenne Verbindung mit 0301\"",
        "line \"Ereignis: OnDisConnected (ID: 1) -    Nummer: 4711 - MSN: 0301\"",
        "get ConnectionCount",
        "caption LBL_Anzahl \"Anzahl Verbindungen:  0\"",
        "get LatestText",
        "caption LBL_Last \"Zuletzt: Verbindung mit 0301 beendet\"",
        "enabled Annehmen 0",
        "line \"Ereignis: OnIdle (ID: 0) -    Nummer:  - MSN: 4711\"",
        "get ConnectionCount",
        "caption LBL_Anzahl \"Anzahl Verbindungen:  0\"",
        "get LatestText",
        "caption LBL_Last \"Zuletzt: Keine Verbindung\"",
    };
    QCOMPARE(linesOf(out.str()), expected);
    QCOMPARE(shown.boxes.size(), 1u);
}

void SessionTraceTest::tracesBoxesAndReportsBeforeTheyShow()
{
    testsupport::FakeEventLoop loop;
    auto owned = std::make_unique<std::ostringstream>();
    PeekingDialogs shown(*owned);
    trace::SessionTrace sessionTrace(std::move(owned));
    app::SimulatedTestbench bench(shown, loop, loop.makeScheduler(), timing, {sessionTrace.tap()});
    QTest::mouseClick(bench.form().findChild<QPushButton *>(QStringLiteral("BTN_Disconnect")),
                      Qt::LeftButton);
    QCOMPARE(shown.seenWhileOpen.last(),
             QStringLiteral("box 64 \"Gespräch beenden\" \"Kein Gespräch vorhanden\""));

    bench.control().injectFault(phone::dispid::Dial, phone::sim::FaultMode::NextAccess);
    QTest::mouseClick(bench.form().findChild<QPushButton *>(QStringLiteral("BTN_Dial")),
                      Qt::LeftButton);
    QCOMPARE(shown.seenWhileOpen.last(), QStringLiteral("error component"));
}

void SessionTraceTest::everyLineIsInTheFileAtOnce()
{
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("trace.txt"));
    testsupport::FakeEventLoop loop;
    testsupport::RecordingDialogs shown;
    trace::SessionTrace sessionTrace(trace::openOutput(path.toStdU16String(), "Das Protokoll"));
    app::SimulatedTestbench bench(shown, loop, loop.makeScheduler(), timing, {sessionTrace.tap()});
    QTest::mouseClick(bench.form().findChild<QPushButton *>(QStringLiteral("BTN_Clear")),
                      Qt::LeftButton);

    // Read while the session still runs, as after a crash.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("get PopUp\ncheck CHK_PopUp 1\nclear\n"));
}

void SessionTraceTest::refusesATraceThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("reason");
    QTest::newRow("in a folder that does not exist")
        << QStringLiteral("missing/trace.txt") << QStringLiteral("den Ordner gibt es nicht");
    QTest::newRow("onto a folder") << QStringLiteral(".") << QStringLiteral("das ist ein Ordner");
}

void SessionTraceTest::refusesATraceThatCannotBeWritten()
{
    QFETCH(QString, where);
    QFETCH(QString, reason);
    QTemporaryDir directory;
    const QString path = QDir::cleanPath(directory.filePath(where));
    try {
        trace::openOutput(path.toStdU16String(), "Das Ablaufprotokoll");
        QFAIL("opened");
    } catch (const trace::OutputError &error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("Das Ablaufprotokoll kann nicht nach „%1“ geschrieben werden: %2.")
                     .arg(path, reason));
    }
}

void SessionTraceTest::tellsOnceWhenTheDiskFills_data()
{
    QTest::addColumn<bool>("recording");
    QTest::addColumn<QString>("message");
    QTest::newRow("trace") << false
                           << QStringLiteral("Das Ablaufprotokoll kann nicht weiter geschrieben "
                                             "werden; was danach geschieht, fehlt darin.");
    QTest::newRow("recording") << true
                               << QStringLiteral("Die Aufzeichnung kann nicht weiter geschrieben "
                                                 "werden; was danach geschieht, fehlt darin.");
}

void SessionTraceTest::tellsOnceWhenTheDiskFills()
{
    QFETCH(bool, recording);
    QFETCH(QString, message);
    FullDisk disk;
    QStringList told;
    const auto tell = [&told](const std::string &text) {
        told << QString::fromStdString(text);
    };
    std::optional<trace::SessionTrace> sessionTrace;
    std::optional<trace::SessionRecorder> recorder;
    std::vector<form::SessionTap> taps;
    if (recording) {
        recorder.emplace(std::make_unique<std::ostream>(&disk), trace::SessionRecorder::Clock(),
                         tell);
        taps.push_back(recorder->tap());
    } else {
        sessionTrace.emplace(std::make_unique<std::ostream>(&disk), tell);
        taps.push_back(sessionTrace->tap());
    }
    testsupport::FakeEventLoop loop;
    testsupport::RecordingDialogs shown;
    app::SimulatedTestbench bench(shown, loop, loop.makeScheduler(), timing, taps);
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(bench.form().findChild<QPushButton *>(QStringLiteral("BTN_Disconnect")),
                          Qt::LeftButton);
    }
    QCOMPARE(told, QStringList{message});
}

QTEST_MAIN(SessionTraceTest)
#include "SessionTraceTest.moc"
