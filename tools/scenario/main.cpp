#include "tools/scenario/HostedScript.h"
#include "tools/scenario/ScenarioRunner.h"

#include <QApplication>

#include <fstream>
#include <iostream>
#include <memory>
#include <string_view>

// tervani-scenario [--com] FILE|-: runs a scenario script against the real window, headless,
// and prints its transcript. With --com the control is the scripted COM test double in the
// control host under Wine, reached as the real control is; the transcript is the same.
// Exit status 2 for a malformed script, 1 when the control cannot be reached.
int main(int argc, char *argv[])
{
    const bool throughCom = argc == 3 && std::string_view(argv[1]) == "--com";
    if (argc != 2 && !throughCom) {
        std::cerr << "usage: tervani-scenario [--com] FILE|-\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const std::string fileName = argv[argc - 1];
    std::ifstream file;
    if (fileName != "-") {
        file.open(fileName, std::ios::binary);
        if (!file) {
            std::cerr << fileName << ":0: cannot be read\n";
            return 2;
        }
    }
    std::istream &script = fileName == "-" ? std::cin : file;

    try {
        std::unique_ptr<scenario::ScenarioRunner> runner;
        if (throughCom) {
            runner = std::make_unique<scenario::ScenarioRunner>(
                std::cout,
                std::make_unique<scenario::HostedScript>(
                    scenario::prepareHostUnderWine(QApplication::applicationDirPath()), std::cout));
        } else {
            runner = std::make_unique<scenario::ScenarioRunner>(std::cout);
        }
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
