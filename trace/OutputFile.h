#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

namespace trace {

// A trace or a recording that cannot be written; what() is the German text for the user.
class OutputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Where a trace or a recording goes: the file, created or emptied, or standard output for
// "-". `what` names it in the message ("Das Ablaufprotokoll"). Throws OutputError.
std::unique_ptr<std::ostream> openOutput(const std::filesystem::path &path,
                                         const std::string &what);

// Tells once, in German, that an output opened for the session can no longer be written, as
// when the disk has filled up: the session goes on, but the user must not trust the file.
class WriteWatch
{
public:
    using Report = std::function<void(const std::string &message)>;

    // what: "Das Ablaufprotokoll"; report: by default a line on standard error.
    explicit WriteWatch(std::string what, Report report = {});

    void check(const std::ostream &out);

private:
    std::string m_what;
    Report m_report;
    bool m_told = false;
};

} // namespace trace
