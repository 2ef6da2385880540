#include "tools/scenario/HostedScript.h"
#include "tools/scenario/ScenarioRunner.h"
#include "trace/OutputFile.h"
#include "trace/SessionRecorder.h"

#include <QApplication>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
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

// tervani-scenario [--com] [--record RECORDING] FILE|-: runs a scenario script against the real
// window, headless, and prints its transcript. With --com the control is the scripted COM
// test double in the control host (under Wine outside Windows), reached as the real control
// is; the transcript is the same. --record writes the run as a recording, made from what crossed
// the boundary. Exit status 2 for a malformed script or a recording that cannot be written, 1 when
// the control cannot be reached.
namespace {

constexpr const char *usage = "usage: tervani-scenario [--com] [--record RECORDING] FILE|-\n"
                              "       tervani-scenario --help | --version\n";

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
            std::cout << usage;
            return 0;
        }
        if (only == "--version") {
            std::cout << "tervani-scenario " TERVANI_VERSION "\n";
            return 0;
        }
    }
    bool throughCom = false;
    std::optional<std::string> recordingName;
    int next = 1;
    for (; next < argc - 1; ++next) {
        const std::string_view option = argv[next];
        if (option == "--com")
            throughCom = true;
        else if (option == "--record" && next + 2 < argc)
            recordingName = argv[++next];
        else
            break;
    }
    if (next != argc - 1 || std::string_view(argv[next]).starts_with("--")) {
        std::cerr << usage;
        return 2;
    }
    // Headless: Qt for Windows built without FreeType has no offscreen platform, only minimal.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
#ifdef _WIN32
        qputenv("QT_QPA_PLATFORM", "minimal");
#else
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication application(argc, argv);

    const std::string fileName = argv[argc - 1];
    std::ifstream file;
    if (fileName != "-") {
        std::error_code error;
        if (std::filesystem::is_directory(fileName, error)) {
            std::cerr << fileName << ": cannot be read: it is a directory\n";
            return 2;
        }
        errno = 0;
        file.open(fileName, std::ios::binary);
        if (!file) {
            std::cerr << fileName
                      << ": cannot be read: " << (errno ? std::strerror(errno) : "unknown error")
                      << '\n';
            return 2;
        }
    }
    std::istream &script = fileName == "-" ? std::cin : file;

    std::optional<trace::SessionRecorder> recorder;
    if (recordingName) {
        try {
            recorder.emplace(
                trace::openOutput(std::filesystem::path(*recordingName), "Die Aufzeichnung"));
        } catch (const trace::OutputError &error) {
            std::cerr << error.what() << '\n';
            return 2;
        }
    }

    try {
        std::unique_ptr<scenario::ScenarioRunner> runner;
        if (throughCom) {
            runner = std::make_unique<scenario::ScenarioRunner>(
                std::cout,
                std::make_unique<scenario::HostedScript>(
                    scenario::prepareHost(QApplication::applicationDirPath()), std::cout));
        } else {
            runner = std::make_unique<scenario::ScenarioRunner>(std::cout);
        }
        if (recorder)
            runner->tap(recorder->tap());
        std::string line;
        for (int lineNumber = 1; std::getline(script, line); ++lineNumber) {
            try {
                runner->runLine(line);
            } catch (const scenario::ScriptError &error) {
                std::cout.flush();
                std::cerr << fileName << ':' << lineNumber << ": " << error.what() << '\n';
                return 2;
            }
        }
        runner->finish();
    } catch (const phone::Error &error) {
        std::cout.flush();
        std::cerr << "tervani-scenario: " << error.description() << '\n';
        return 1;
    }
    return 0;
}
