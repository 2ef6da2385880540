#pragma once

#include "phone/remote/Handle.h"

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace phone::remote {

// Variables set for the child on top of this process's environment (UTF-8).
using Environment = std::vector<std::pair<std::string, std::string>>;

// A started program, ended and reaped when this goes.
class ChildProcess
{
public:
    // Starts arguments[0] (searched on PATH when it names no folder) with `input` and `output`
    // as its standard input and output; standard error stays this process's. No other handle
    // of ours is inherited. Throws phone::Error (ErrorKind::Component) naming the program and
    // the system's reason.
    ChildProcess(const std::vector<std::string> &arguments, const Environment &environment,
                 Handle input, Handle output);
    // Kills the child if it still runs, and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // True once the child has ended, waiting at most `limit` for it.
    bool waitFor(std::chrono::milliseconds limit);
    void kill() noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// The error for a program that could not be started: German, naming it and the reason.
std::string startFailure(const std::vector<std::string> &arguments, const std::string &reason);
// Throws that error when `arguments` name no program.
void requireProgram(const std::vector<std::string> &arguments);

} // namespace phone::remote
