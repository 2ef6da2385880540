#include "tools/scenario/ToolOptions.h"

#include "program/StartOptions.h"

namespace scenario {

const char *const toolUsage =
    "usage: tervani-scenario [--com] [--record RECORDING] [--trace TRACE] [--junit REPORT] "
    "FILE|-\n"
    "       tervani-scenario --sim [--sim-caller NUMBER] [--record RECORDING] [--trace TRACE]\n"
    "                        [--junit REPORT] FILE|-\n"
    "       tervani-scenario --control PROGID [--host PATH] [--timeout SECONDS]\n"
    "                        [--record RECORDING] [--trace TRACE] [--junit REPORT] FILE|-\n"
    "       tervani-scenario --help | --version\n";

namespace {

QString valueAfter(const QStringList &arguments, qsizetype &index)
{
    const QString option = arguments[index];
    if (++index >= arguments.size() - 1 || arguments[index].isEmpty())
        throw UsageError(option.toStdString() + " needs a value");
    return arguments[index];
}

void choose(ToolOptions &options, Against against, const QString &option)
{
    if (options.against != Against::Script)
        throw UsageError(option.toStdString() + " goes with no other of --com, --sim, --control");
    options.against = against;
}

} // namespace

ToolOptions parseToolOptions(const QStringList &arguments)
{
    if (arguments.isEmpty())
        throw UsageError("a script is needed");
    ToolOptions options;
    bool hostGiven = false, timeoutGiven = false;
    const qsizetype last = arguments.size() - 1;
    for (qsizetype i = 0; i < last; ++i) {
        const QString &option = arguments[i];
        if (option == u"--com") {
            choose(options, Against::ScriptThroughCom, option);
        } else if (option == u"--sim") {
            choose(options, Against::Simulation, option);
        } else if (option == u"--control") {
            choose(options, Against::Control, option);
            options.progId = valueAfter(arguments, i).toStdU16String();
        } else if (option == u"--host") {
            options.hostPath = valueAfter(arguments, i);
            hostGiven = true;
        } else if (option == u"--timeout") {
            const QString value = valueAfter(arguments, i);
            try {
                options.timeout = program::timeoutOf(value);
            } catch (const program::UsageError &) {
                throw UsageError("--timeout takes seconds, more than 0 and at most 86400: "
                                 + value.toStdString());
            }
            timeoutGiven = true;
        } else if (option == u"--sim-caller") {
            options.simCaller = valueAfter(arguments, i).toStdU16String();
        } else if (option == u"--record") {
            options.recordPath = valueAfter(arguments, i);
        } else if (option == u"--trace") {
            options.tracePath = valueAfter(arguments, i);
        } else if (option == u"--junit") {
            options.junitPath = valueAfter(arguments, i);
        } else {
            throw UsageError("unknown option " + option.toStdString());
        }
    }
    options.scriptPath = arguments[last];
    if (options.scriptPath.startsWith(u"--"))
        throw UsageError("a script is needed after the options");
    if ((hostGiven || timeoutGiven) && options.against != Against::Control)
        throw UsageError("--host and --timeout go only with --control");
    if (!options.simCaller.empty() && options.against != Against::Simulation)
        throw UsageError("--sim-caller goes only with --sim");
    // The transcript is standard output.
    if (options.tracePath == u"-" || options.junitPath == u"-")
        throw UsageError("--trace and --junit write to a file: the transcript is standard output");
    // Each would empty the file another writes; on standard output they go together.
    const QStringList files{options.recordPath, options.tracePath, options.junitPath};
    for (qsizetype a = 0; a < files.size(); ++a) {
        for (qsizetype b = a + 1; b < files.size(); ++b) {
            if (!files[a].isEmpty() && files[a] == files[b] && files[a] != u"-")
                throw UsageError("--record, --trace and --junit need different files");
        }
    }
    return options;
}

} // namespace scenario
