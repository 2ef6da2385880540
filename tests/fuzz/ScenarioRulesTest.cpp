// The fuzzing oracle against the real window: every golden scenario, nested handlers included,
// must keep every rule, or the fuzzer would report the window's right answers as faults.
#include "tests/fuzz/CheckedScenario.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

class ScenarioRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void goldenScenarioKeepsEveryRule_data();
    void goldenScenarioKeepsEveryRule();
};

void ScenarioRulesTest::goldenScenarioKeepsEveryRule_data()
{
    QTest::addColumn<QString>("path");
    const QDir scenarios(QStringLiteral(TERVANI_SCENARIO_DIR));
    const QStringList names = scenarios.entryList({QStringLiteral("*.scn")}, QDir::Files);
    QVERIFY(names.size() > 30);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << scenarios.filePath(name);
}

void ScenarioRulesTest::goldenScenarioKeepsEveryRule()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    fuzz::CheckedScenario run;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        try {
            run.step(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
        } catch (const scenario::ScriptError &) {
            break; // the malformed ones stop there, as the tool does
        }
        const std::string broken = run.check();
        QVERIFY2(broken.empty(), (broken + "\n" + run.transcript()).c_str());
        if (run.ended())
            break; // a failed check ends the run, as in the tool
    }
    run.finish();
    const std::string broken = run.check();
    QVERIFY2(broken.empty(), (broken + "\n" + run.transcript()).c_str());
    const std::string differs = run.replayDiffers();
    QVERIFY2(differs.empty(), differs.c_str());
}

} // namespace

QTEST_MAIN(ScenarioRulesTest)
#include "ScenarioRulesTest.moc"
