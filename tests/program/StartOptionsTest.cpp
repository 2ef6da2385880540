// The program's command line: what it drives, and clear refusals of what it cannot run with.

#include "program/StartOptions.h"

#include <QTest>

using namespace std::chrono_literals;

class StartOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
    void refuses_data();
    void refuses();
    void simulationOnEveryPlatform();
    void helpTextNamesEveryOption();
};

void StartOptionsTest::accepts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("progId"); // empty: the platform's default
    QTest::addColumn<QString>("host");
    QTest::addColumn<qint64>("timeoutMs");
    QTest::addColumn<bool>("help");

    QTest::newRow("nothing") << QStringList{} << QString() << QString() << qint64(30000) << false;
    QTest::newRow("control") << QStringList{"--control", "Tervani.TestDouble"}
                             << "Tervani.TestDouble" << QString() << qint64(30000) << false;
    QTest::newRow("control and host")
        << QStringList{"--host", "/opt/h/tervani-host.exe", "--control", "X.Y"} << "X.Y"
        << "/opt/h/tervani-host.exe" << qint64(30000) << false;
    QTest::newRow("timeout with a German comma")
        << QStringList{"--control", "X.Y", "--timeout", "2,5"} << "X.Y" << QString() << qint64(2500)
        << false;
    QTest::newRow("timeout rounds up to whole milliseconds")
        << QStringList{"--timeout", "0.0001"} << QString() << QString() << qint64(1) << false;
    QTest::newRow("help") << QStringList{"--help"} << QString() << QString() << qint64(30000)
                          << true;
    QTest::newRow("trace beside the control") << QStringList{"--trace", "-", "--control", "X.Y"}
                                              << "X.Y" << QString() << qint64(30000) << false;
    QTest::newRow("version") << QStringList{"--version"} << QString() << QString() << qint64(30000)
                             << false;
    QTest::newRow("umlauts in the identifier")
        << QStringList{"--control", "Größe.Ä"} << "Größe.Ä" << QString() << qint64(30000) << false;
}

void StartOptionsTest::accepts()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, progId);
    QFETCH(QString, host);
    QFETCH(qint64, timeoutMs);
    QFETCH(bool, help);

    arguments.prepend(QStringLiteral("tervani-testbench"));
    const program::StartOptions options = program::parseStartOptions(arguments);
    if (progId.isEmpty()) {
#ifdef _WIN32
        QCOMPARE(options.progId.value(), u"TervaniActiveX.axTervani");
#else
        QVERIFY(!options.progId);
#endif
    } else {
        QCOMPARE(QString::fromStdU16String(options.progId.value()), progId);
    }
    QCOMPARE(options.hostPath, host);
    QCOMPARE(options.timeout.count(), timeoutMs);
    QCOMPARE(options.helpRequested, help);
    QCOMPARE(options.versionRequested, arguments.contains(QStringLiteral("--version")));
    const qsizetype trace = arguments.indexOf(QStringLiteral("--trace"));
    QCOMPARE(options.tracePath, trace < 0 ? QString() : arguments.at(trace + 1));
    const qsizetype record = arguments.indexOf(QStringLiteral("--record"));
    QCOMPARE(options.recordPath, record < 0 ? QString() : arguments.at(record + 1));
}

void StartOptionsTest::refuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("control without its value")
        << QStringList{"--control"} << "Nach --control fehlt ein Wert.";
    QTest::newRow("empty control")
        << QStringList{"--control", ""} << "Nach --control fehlt ein Wert.";
#ifndef _WIN32
    // On Windows the real control is the default, and --host picks its host.
    QTest::newRow("host without a control")
        << QStringList{"--host", "h.exe"} << "--host gilt nur mit --control.";
#endif
    QTest::newRow("host with the simulation")
        << QStringList{"--sim", "--host", "h.exe"} << "--host gilt nicht mit --sim.";
    QTest::newRow("simulation and a control") << QStringList{"--sim", "--control", "X.Y"}
                                              << "--sim und --control schließen einander aus.";
    QTest::newRow("a control and the simulation") << QStringList{"--control", "X.Y", "--sim"}
                                                  << "--sim und --control schließen einander aus.";
    QTest::newRow("timeout not a number")
        << QStringList{"--control", "X", "--timeout", "bald"}
        << "„bald“ ist keine Wartezeit in Sekunden (größer als 0, höchstens 86400).";
    QTest::newRow("timeout zero") << QStringList{"--control", "X", "--timeout", "0"}
                                  << "„0“ ist keine Wartezeit in Sekunden (größer als 0, "
                                     "höchstens 86400).";
    QTest::newRow("timeout negative") << QStringList{"--control", "X", "--timeout", "-1"}
                                      << "„-1“ ist keine Wartezeit in Sekunden (größer als 0, "
                                         "höchstens 86400).";
    QTest::newRow("timeout beyond a day") << QStringList{"--control", "X", "--timeout", "1e9"}
                                          << "„1e9“ ist keine Wartezeit in Sekunden (größer als "
                                             "0, höchstens 86400).";
    QTest::newRow("trace without its file")
        << QStringList{"--trace"} << "Nach --trace fehlt ein Wert.";
    QTest::newRow("trace and recording into one file")
        << QStringList{"--trace", "s.txt", "--record", "s.txt"}
        << "--trace und --record brauchen zwei verschiedene Dateien.";
    QTest::newRow("recording without its file")
        << QStringList{"--record", ""} << "Nach --record fehlt ein Wert.";
    QTest::newRow("unknown option")
        << QStringList{"--contol", "X"} << "Unbekannte Angabe „--contol“ (--help zeigt alle).";
}

void StartOptionsTest::refuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    arguments.prepend(QStringLiteral("tervani-testbench"));
    try {
        program::parseStartOptions(arguments);
        QFAIL("accepted");
    } catch (const program::UsageError &error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
}

void StartOptionsTest::simulationOnEveryPlatform()
{
    for (const QStringList &arguments :
         {QStringList{"tervani-testbench", "--sim"},
          QStringList{"tervani-testbench", "--trace", "t.txt", "--sim", "--record", "r.scn"}}) {
        const program::StartOptions options = program::parseStartOptions(arguments);
        QVERIFY2(!options.progId, qPrintable(arguments.join(u' ')));
        QCOMPARE(options.tracePath.isEmpty(), arguments.size() == 2);
    }
}

void StartOptionsTest::helpTextNamesEveryOption()
{
    const QString text = program::usageText();
    for (const char *option : {"--control", "--host", "--timeout", "--sim", "--trace", "--record",
                               "--help", "--version"})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

QTEST_GUILESS_MAIN(StartOptionsTest)
#include "StartOptionsTest.moc"
