#include "tools/scenario/HostedScript.h"
#include "tools/scenario/JUnitReport.h"
#include "tools/scenario/LiveControl.h"
#include "tools/scenario/ScenarioRunner.h"
#include "tools/scenario/ToolOptions.h"
#include "trace/OutputFile.h"
#include "trace/SessionRecorder.h"
#include "trace/SessionTrace.h"

#include <QApplication>
#include <QFileInfo>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// tervani-scenario [--com | --sim | --control PROGID ...] [--record R] [--trace T] [--junit J]
// FILE|-: runs a scenario script against the real window, headless, and prints its
// transcript.
// - Without --sim and --control the control is scripted: in process, or with --com the
//   scripted COM double in the control host (under Wine outside Windows), reached as the real
//   control is; the transcript is the same.
// - --sim and --control are live runs: the simulated softphone on its timers, or a real control
//   in its host. The script only acts as the user and checks what the window shows.
// Exit status 0 when every step ran and every check held, 1 when a check failed, 2 for a
// malformed script or an output that cannot be written, 3 when the control cannot be started
// or is lost.
namespace {

enum Status { Passed = 0, CheckFailed = 1, Malformed = 2, NoControl = 3 };

struct NumberedStep
{
    int line;
    scenario::Step step;
};

class Tool
{
public:
    explicit Tool(scenario::ToolOptions options)
        : m_options(std::move(options))
        , m_name(m_options.scriptPath.toStdString())
    {}

    int run();

private:
    bool openScript();
    bool openOutputs();
    std::optional<std::vector<NumberedStep>> readLiveScript();
    std::unique_ptr<scenario::ScenarioRunner> makeRunner();
    int runScripted(scenario::ScenarioRunner &runner);
    int runLive(scenario::ScenarioRunner &runner, const std::vector<NumberedStep> &steps);
    int ended(scenario::ScenarioRunner &runner);
    void listRemainingChecks(int nextLine);
    void addCheck(int line, const scenario::Step &step);
    void writeReport();
    int malformed(int line, const std::string &reason);

    scenario::ToolOptions m_options;
    std::string m_name; // as the user gave it
    std::ifstream m_file;
    std::istream *m_script = &std::cin;
    std::optional<trace::SessionRecorder> m_recorder;
    std::optional<trace::SessionTrace> m_trace;
    std::unique_ptr<std::ostream> m_reportOut;
    std::optional<scenario::JUnitReport> m_report;
};

int Tool::malformed(int line, const std::string &reason)
{
    std::cout.flush();
    std::cerr << m_name << ':' << line << ": " << reason << '\n';
    return Malformed;
}

bool Tool::openScript()
{
    if (m_options.scriptPath == u"-")
        return true;
    const std::filesystem::path path(m_options.scriptPath.toStdU16String());
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        std::cerr << m_name << ": cannot be read: it is a directory\n";
        return false;
    }
    errno = 0;
    m_file.open(path, std::ios::binary);
    if (!m_file) {
        std::cerr << m_name
                  << ": cannot be read: " << (errno ? std::strerror(errno) : "unknown error")
                  << '\n';
        return false;
    }
    m_script = &m_file;
    return true;
}

// Opened before anything runs, so that an output that cannot be written stops the tool at
// once instead of losing the run.
bool Tool::openOutputs()
{
    const auto path = [](const QString &name) {
        return std::filesystem::path(name.toStdU16String());
    };
    try {
        if (!m_options.recordPath.isEmpty())
            m_recorder.emplace(trace::openOutput(path(m_options.recordPath), "Die Aufzeichnung"));
        if (!m_options.tracePath.isEmpty())
            m_trace.emplace(trace::openOutput(path(m_options.tracePath), "Das Ablaufprotokoll"));
        if (!m_options.junitPath.isEmpty()) {
            m_reportOut = trace::openOutput(path(m_options.junitPath), "Der JUnit-Bericht");
            m_report.emplace(
                m_options.scriptPath == u"-"
                    ? std::string("stdin")
                    : QFileInfo(m_options.scriptPath).completeBaseName().toStdString());
        }
    } catch (const trace::OutputError &error) {
        std::cerr << error.what() << '\n';
        return false;
    }
    return true;
}

void Tool::addCheck(int line, const scenario::Step &step)
{
    if (m_report && scenario::checks(step.action))
        m_report->add(line, step.text);
}

// A live run reads its whole script first: a malformed line stops it before anything runs.
std::optional<std::vector<NumberedStep>> Tool::readLiveScript()
{
    std::vector<NumberedStep> steps;
    std::string text;
    for (int line = 1; std::getline(*m_script, text); ++line) {
        try {
            std::optional<scenario::Step> step = scenario::parseStep(text);
            if (!step)
                continue;
            if (scenario::onlyInScriptedRuns(step->action)) {
                const std::string verb = step->text.substr(0, step->text.find(' '));
                malformed(line, verb
                                    + " is no step of a live run: the control answers and "
                                      "raises its events by itself");
                return std::nullopt;
            }
            addCheck(line, *step);
            steps.push_back({line, std::move(*step)});
        } catch (const scenario::ScriptError &error) {
            malformed(line, error.what());
            return std::nullopt;
        }
    }
    return steps;
}

std::unique_ptr<scenario::ScenarioRunner> Tool::makeRunner()
{
    using scenario::Against;
    const QString programs = QApplication::applicationDirPath();
    switch (m_options.against) {
    case Against::Script:
        return std::make_unique<scenario::ScenarioRunner>(std::cout);
    case Against::ScriptThroughCom:
        return std::make_unique<scenario::ScenarioRunner>(
            std::cout,
            std::make_unique<scenario::HostedScript>(scenario::prepareHost(programs), std::cout));
    case Against::Simulation:
        return std::make_unique<scenario::ScenarioRunner>(
            std::cout, scenario::simulatedSoftphone(std::cout, m_options.simCaller));
    case Against::Control: {
        std::unique_ptr<scenario::LiveControl> control = scenario::hostedControl(
            {m_options.progId, m_options.hostPath, m_options.timeout}, programs, std::cout);
        if (m_trace && control->contract())
            m_trace->noteContract(*control->contract());
        return std::make_unique<scenario::ScenarioRunner>(std::cout, std::move(control));
    }
    }
    return nullptr;
}

// Whatever the checks after the end of the run are, the report lists them as skipped; a line
// that cannot be read is no check.
void Tool::listRemainingChecks(int nextLine)
{
    if (!m_report)
        return;
    std::string text;
    for (int line = nextLine; std::getline(*m_script, text); ++line) {
        try {
            if (std::optional<scenario::Step> step = scenario::parseStep(text))
                addCheck(line, *step);
        } catch (const scenario::ScriptError &) {
        }
    }
}

int Tool::runScripted(scenario::ScenarioRunner &runner)
{
    std::string text;
    for (int line = 1; std::getline(*m_script, text); ++line) {
        try {
            std::optional<scenario::Step> step = scenario::parseStep(text);
            if (!step)
                continue;
            addCheck(line, *step);
            runner.runStep(*step, line);
        } catch (const scenario::ScriptError &error) {
            return malformed(line, error.what());
        }
        if (runner.failure()) {
            listRemainingChecks(line + 1);
            return ended(runner);
        }
    }
    runner.finish();
    return ended(runner);
}

int Tool::runLive(scenario::ScenarioRunner &runner, const std::vector<NumberedStep> &steps)
{
    for (const NumberedStep &numbered : steps) {
        try {
            runner.runStep(numbered.step, numbered.line);
        } catch (const scenario::ScriptError &error) {
            return malformed(numbered.line, error.what());
        }
        if (runner.failure())
            return ended(runner);
    }
    runner.finish();
    return ended(runner);
}

int Tool::ended(scenario::ScenarioRunner &runner)
{
    std::cout.flush();
    const std::optional<scenario::RunFailure> &failure = runner.failure();
    if (!failure)
        return Passed;
    std::cerr << m_name << ':' << failure->line << ": " << failure->message << '\n';
    if (failure->kind == scenario::RunFailure::Kind::ControlLost) {
        if (m_report)
            m_report->runFailed(failure->message);
        return NoControl;
    }
    return CheckFailed;
}

void Tool::writeReport()
{
    if (!m_report)
        return;
    m_report->write(*m_reportOut);
    m_reportOut->flush();
    if (!*m_reportOut)
        std::cerr << "tervani-scenario: " << m_options.junitPath.toStdString()
                  << ": the report could not be written completely\n";
}

int Tool::run()
{
    if (!openScript() || !openOutputs())
        return Malformed;
    std::optional<std::vector<NumberedStep>> liveSteps;
    if (m_options.live() && !(liveSteps = readLiveScript()))
        return Malformed;

    std::unique_ptr<scenario::ScenarioRunner> runner;
    try {
        runner = makeRunner();
    } catch (const phone::Error &error) {
        std::cerr << "tervani-scenario: " << error.description() << '\n';
        if (m_report) {
            listRemainingChecks(1);
            m_report->runFailed(error.description());
            writeReport();
        }
        return NoControl;
    }
    if (m_recorder)
        runner->tap(m_recorder->tap());
    if (m_trace)
        runner->tap(m_trace->tap());
    if (m_report) {
        runner->onCheck(
            [this](int line, const std::optional<std::string> &failure,
                   std::chrono::milliseconds took) { m_report->ended(line, failure, took); });
    }

    int status = Passed;
    try {
        status = liveSteps ? runLive(*runner, *liveSteps) : runScripted(*runner);
    } catch (const phone::Error &error) {
        // The scripted double's host went away while a step scripted it.
        std::cout.flush();
        std::cerr << "tervani-scenario: " << error.description() << '\n';
        if (m_report)
            m_report->runFailed(error.description());
        status = NoControl;
    }
    if (status != Malformed)
        writeReport();
    return status;
}

// The arguments after the program's name, read before Qt starts so that a wrong command line
// is refused before anything else is said. Windows passes them in the ANSI code page; its wide
// command line keeps every name.
QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
#ifdef _WIN32
    (void)argv;
    int count = 0;
    if (LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.append(QString::fromWCharArray(wide[i]));
        LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
#ifdef _WIN32
    // Transcripts and scripts are the same bytes on every system: no CR before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    if (argc == 2) {
        const std::string_view only = argv[1];
        if (only == "--help" || only == "-h") {
            std::cout << scenario::toolUsage;
            return 0;
        }
        if (only == "--version") {
            std::cout << "tervani-scenario " TERVANI_VERSION "\n";
            return 0;
        }
    }
    scenario::ToolOptions options;
    try {
        options = scenario::parseToolOptions(argumentsOf(argc, argv));
    } catch (const scenario::UsageError &error) {
        std::cerr << scenario::toolUsage << "tervani-scenario: " << error.what() << '\n';
        return Malformed;
    }
    // Headless: Qt for Windows built without FreeType has no offscreen platform, only minimal.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
#ifdef _WIN32
        qputenv("QT_QPA_PLATFORM", "minimal");
#else
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication application(argc, argv);
    return Tool(std::move(options)).run();
}
