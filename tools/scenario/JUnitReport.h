#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace scenario {

// A run's checks as a JUnit XML report, which CI servers read: one test suite for the script,
// one test case for each check, named by its line and text. A check that never ran (the run
// ended before it, or its box never opened) is skipped.
class JUnitReport
{
public:
    explicit JUnitReport(std::string suiteName);

    // Every check of the script, in script order, before the run.
    void add(int line, const std::string &stepText);
    // nullopt when the check held.
    void ended(int line, const std::optional<std::string> &failure, std::chrono::milliseconds took);
    // The run stopped for a reason that no check names: the control could not be started or
    // was lost.
    void runFailed(const std::string &reason);

    void write(std::ostream &out) const;

private:
    enum class Outcome { Skipped, Passed, Failed };
    struct Case
    {
        std::string name;
        Outcome outcome = Outcome::Skipped;
        std::string failure;
        std::chrono::milliseconds took{};
    };

    std::string m_suiteName;
    std::map<int, Case> m_cases;
    std::optional<std::string> m_runFailure;
    std::chrono::steady_clock::time_point m_created = std::chrono::steady_clock::now();
};

} // namespace scenario
