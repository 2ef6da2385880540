#pragma once

#include "phone/remote/HostedControl.h"
#include "tools/scenario/ControlUnderScript.h"
#include "trace/TracedDispatch.h"

#include <QString>

namespace scenario {

// The scripted test double, a COM control, in the control host under Wine: the window
// reaches it as it reaches a real control, and the script's steps go to the double's
// test-only members on the same connection.
class HostedScript final : public ControlUnderScript
{
public:
    // Throws phone::Error when the host cannot be started or the double not created.
    HostedScript(const phone::remote::HostCommand &command, std::ostream &transcript);

    phone::Dispatch &dispatch() override { return m_traced; }
    void setAnswer(std::int32_t dispId, const phone::Value &value) override;
    void setFailing(std::int32_t dispId) override;
    void raiseEvent(std::string_view name, const phone::EventArguments &arguments) override;

private:
    phone::remote::HostedControl m_hosted;
    trace::TracedDispatch m_traced;
};

// A Windows program or the double of this build, by its path below the folder of the build's
// programs (build/bin) or of its tests (build/test-bin); `programDirectory` is either, or the
// folder of a program beside them. The path beside the program when it is nowhere.
QString builtWindowsFile(const QString &programDirectory, const QString &relativePath);

// How to start this build's host under Wine on a prefix of the tool's own, beside the build,
// with the double registered: prepared once (the first run waits for Wine to set it up),
// reused after, and shared safely by tools running at the same time. Throws phone::Error
// naming what is missing or failed.
phone::remote::HostCommand prepareHostUnderWine(const QString &programDirectory);

// How to start the control host with the double: on Windows the host beside the program, with
// the double registered as a control is; elsewhere prepareHostUnderWine. Throws phone::Error.
phone::remote::HostCommand prepareHost(const QString &programDirectory);

} // namespace scenario
