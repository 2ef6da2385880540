#include "phone/remote/ChildProcess.h"

#include "phone/Error.h"

namespace phone::remote {

std::string startFailure(const std::vector<std::string> &arguments, const std::string &reason)
{
    std::string command;
    for (const std::string &argument : arguments)
        command += (command.empty() ? "" : " ") + argument;
    return "Der Steuerelement-Host „" + command + "“ konnte nicht gestartet werden: " + reason;
}

void requireProgram(const std::vector<std::string> &arguments)
{
    if (arguments.empty())
        throw Error(ErrorKind::Component, startFailure(arguments, "kein Programm angegeben"));
}

} // namespace phone::remote
