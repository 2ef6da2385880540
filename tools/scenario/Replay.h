#pragma once

#include <string>

namespace scenario {

// The transcript a recording replays to against the stand-in control in this process.
// Throws ScriptError where the tool would refuse the recording.
std::string replayed(const std::string &recording);

// What a replay must print as the recorded run did: its lines but the `> STEP` lines, a dump's
// `state` lines and the checks' `timeout` and `mismatch` lines, each without leading blanks.
std::string replayedPart(const std::string &transcript);

} // namespace scenario
