#pragma once

#include <filesystem>
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

} // namespace trace
