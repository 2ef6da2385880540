#include "tools/scenario/Replay.h"

#include "tools/scenario/ScenarioRunner.h"

#include <sstream>

namespace scenario {

std::string replayed(const std::string &recording)
{
    std::ostringstream transcript;
    ScenarioRunner runner(transcript);
    std::istringstream lines(recording);
    for (std::string line; std::getline(lines, line);)
        runner.runLine(line);
    runner.finish();
    return transcript.str();
}

std::string replayedPart(const std::string &transcript)
{
    std::istringstream lines(transcript);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        line.erase(0, line.find_first_not_of(' '));
        // A check's outcome is the script's, not the session's: no recording holds it.
        if (!line.starts_with("> ") && !line.starts_with("state ") && !line.starts_with("timeout ")
            && !line.starts_with("mismatch "))
            kept += line + '\n';
    }
    return kept;
}

} // namespace scenario
