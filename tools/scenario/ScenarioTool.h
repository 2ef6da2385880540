#pragma once

#include "tools/scenario/ToolOptions.h"

namespace scenario {

// The tool's exit statuses.
enum Status { Passed = 0, CheckFailed = 1, Malformed = 2, NoControl = 3 };

// Runs the script the options name against the control they name, printing its transcript to
// standard output and what ends it to standard error, with the report, trace and recording
// they ask for; the exit status. Needs a QApplication.
int runTool(ToolOptions options);

} // namespace scenario
