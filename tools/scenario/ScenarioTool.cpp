#include "tools/scenario/ScenarioTool.h"

#include "tools/scenario/HostedScript.h"
#include "tools/scenario/JUnitReport.h"
#include "tools/scenario/LiveControl.h"
#include "tools/scenario/ScenarioRunner.h"
#include "trace/OutputFile.h"
#include "trace/SessionRecorder.h"
#include "trace/SessionTrace.h"

#include <QApplication>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace scenario {

namespace {

struct NumberedStep
{
    int line;
    Step step;
};

class Tool
{
public:
    explicit Tool(ToolOptions options)
        : m_options(std::move(options))
        , m_name(m_options.scriptPath.toStdString())
    {}

    int run();

private:
    bool openScript();
    bool openOutputs();
    std::optional<std::vector<NumberedStep>> readLiveScript();
    std::unique_ptr<ScenarioRunner> makeRunner();
    int runScripted(ScenarioRunner &runner);
    int runLive(ScenarioRunner &runner, const std::vector<NumberedStep> &steps);
    int ended(ScenarioRunner &runner);
    void listRemainingChecks(int nextLine);
    void addCheck(int line, const Step &step);
    void writeReport();
    int malformed(int line, const std::string &reason);

    ToolOptions m_options;
    std::string m_name; // as the user gave it
    std::ifstream m_file;
    std::istream *m_script = &std::cin;
    std::optional<trace::SessionRecorder> m_recorder;
    std::optional<trace::SessionTrace> m_trace;
    std::unique_ptr<std::ostream> m_reportOut;
    std::optional<JUnitReport> m_report;
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

void Tool::addCheck(int line, const Step &step)
{
    if (m_report && checks(step.action))
        m_report->add(line, step.text);
}

// A live run reads its whole script first: a malformed line stops it before anything runs.
std::optional<std::vector<NumberedStep>> Tool::readLiveScript()
{
    std::vector<NumberedStep> steps;
    std::string text;
    for (int line = 1; std::getline(*m_script, text); ++line) {
        try {
            std::optional<Step> step = parseStep(text);
            if (!step)
                continue;
            if (onlyInScriptedRuns(step->action)) {
                const std::string verb = step->text.substr(0, step->text.find(' '));
                malformed(line, verb
                                    + " is no step of a live run: the control answers and "
                                      "raises its events by itself");
                return std::nullopt;
            }
            addCheck(line, *step);
            steps.push_back({line, std::move(*step)});
        } catch (const ScriptError &error) {
            malformed(line, error.what());
            return std::nullopt;
        }
    }
    return steps;
}

std::unique_ptr<ScenarioRunner> Tool::makeRunner()
{
    const QString programs = QApplication::applicationDirPath();
    switch (m_options.against) {
    case Against::Script:
        return std::make_unique<ScenarioRunner>(std::cout);
    case Against::ScriptThroughCom:
        return std::make_unique<ScenarioRunner>(
            std::cout, std::make_unique<HostedScript>(prepareHost(programs), std::cout));
    case Against::Simulation:
        return std::make_unique<ScenarioRunner>(std::cout,
                                                simulatedSoftphone(std::cout, m_options.simCaller));
    case Against::Control: {
        std::unique_ptr<LiveControl> control = hostedControl(
            {m_options.progId, m_options.hostPath, m_options.timeout}, programs, std::cout);
        if (m_trace && control->contract())
            m_trace->noteContract(*control->contract());
        return std::make_unique<ScenarioRunner>(std::cout, std::move(control));
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
            if (std::optional<Step> step = parseStep(text))
                addCheck(line, *step);
        } catch (const ScriptError &) {
        }
    }
}

int Tool::runScripted(ScenarioRunner &runner)
{
    std::string text;
    for (int line = 1; std::getline(*m_script, text); ++line) {
        try {
            std::optional<Step> step = parseStep(text);
            if (!step)
                continue;
            addCheck(line, *step);
            runner.runStep(*step, line);
        } catch (const ScriptError &error) {
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

int Tool::runLive(ScenarioRunner &runner, const std::vector<NumberedStep> &steps)
{
    for (const NumberedStep &numbered : steps) {
        try {
            runner.runStep(numbered.step, numbered.line);
        } catch (const ScriptError &error) {
            return malformed(numbered.line, error.what());
        }
        if (runner.failure())
            return ended(runner);
    }
    runner.finish();
    return ended(runner);
}

int Tool::ended(ScenarioRunner &runner)
{
    std::cout.flush();
    const std::optional<RunFailure> &failure = runner.failure();
    if (!failure)
        return Passed;
    std::cerr << m_name << ':' << failure->line << ": " << failure->message << '\n';
    if (failure->kind == RunFailure::Kind::ControlLost) {
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

    std::unique_ptr<ScenarioRunner> runner;
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

} // namespace

int runTool(ToolOptions options)
{
    return Tool(std::move(options)).run();
}

} // namespace scenario
