#include "tools/scenario/ScenarioTool.h"
#include "tools/scenario/ToolOptions.h"

#include <QApplication>
#include <QStringList>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

#include <iostream>
#include <string_view>
#include <utility>

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
        return scenario::Malformed;
    }
    // Headless: Qt for Windows built without FreeType has no offscreen platform, only minimal.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
#ifdef _WIN32
        qputenv("QT_QPA_PLATFORM", "minimal");
#else
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QApplication application(argc, argv);
    return scenario::runTool(std::move(options));
}
