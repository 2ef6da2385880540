#include "tools/scenario/ScenarioRunner.h"

#include <QApplication>

#include <fstream>
#include <iostream>

// tervani-scenario FILE|-: runs a scenario script against the real window, headless, and
// prints its transcript. Exit status 2 for a malformed script.
int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: tervani-scenario FILE|-\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    const std::string fileName = argv[1];
    std::ifstream file;
    if (fileName != "-") {
        file.open(fileName, std::ios::binary);
        if (!file) {
            std::cerr << fileName << ":0: cannot be read\n";
            return 2;
        }
    }
    std::istream &script = fileName == "-" ? std::cin : file;

    scenario::ScenarioRunner runner(std::cout);
    std::string line;
    for (int lineNumber = 1; std::getline(script, line); ++lineNumber) {
        try {
            runner.runLine(line);
        } catch (const scenario::ScriptError &error) {
            std::cout.flush();
            std::cerr << fileName << ':' << lineNumber << ": " << error.what() << '\n';
            return 2;
        }
    }
    runner.finish();
    return 0;
}
