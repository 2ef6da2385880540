#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

namespace scenario {

// What the tool runs a script against.
enum class Against {
    Script,           // the scripted stand-in in this process
    ScriptThroughCom, // the scripted COM double in the control host
    Simulation,       // live: the simulated softphone on its real timers
    Control,          // live: a real control in the control host
};

struct ToolOptions
{
    Against against = Against::Script;
    std::u16string progId;
    QString hostPath;
    std::chrono::milliseconds timeout{std::chrono::seconds(30)};
    QString recordPath;
    QString tracePath;
    QString junitPath;
    QString scriptPath; // "-": standard input
    // With --sim: who rings the simulated softphone, a moment after the run starts.
    std::u16string simCaller;

    bool live() const { return against == Against::Simulation || against == Against::Control; }
};

// A command line the tool cannot run with; what() says why.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program's name. Throws UsageError.
ToolOptions parseToolOptions(const QStringList &arguments);

extern const char *const toolUsage;

} // namespace scenario
