#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

namespace program {

// What the program drives, from its command line.
struct StartOptions
{
    // A COM control reached through the control host; none: the simulated softphone.
    std::optional<std::u16string> progId;
    // The host program; empty: tervani-host.exe beside this program.
    QString hostPath;
    // How long the bench waits for the host's answer before it takes it for hung.
    std::chrono::milliseconds timeout{std::chrono::seconds(30)};
    // Where the trace of the session goes ("-": standard output); empty: no trace.
    QString tracePath;
    // Where the recording of the session goes ("-": standard output); empty: none.
    QString recordPath;
    bool helpRequested = false;
    bool versionRequested = false;
};

// A command line the program cannot run with; what() is the German text for the user.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// "--control PROGID", "--host PATH", "--timeout SECONDS", "--sim", "--trace FILE",
// "--record FILE", "--help", "--version". On Windows the real control is the default,
// elsewhere the simulation; --sim asks for the simulation everywhere. Throws UsageError.
StartOptions parseStartOptions(const QStringList &arguments);

// "--timeout"'s value: seconds, more than 0 and at most a day. Throws UsageError.
std::chrono::milliseconds timeoutOf(const QString &text);

// The text --help prints.
QString usageText();

// The line --version prints.
QString versionText();

} // namespace program
