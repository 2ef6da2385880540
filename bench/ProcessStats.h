#pragma once

#include <cstdint>
#include <string>

namespace logbench {

// The process's resident memory in bytes, as the system counts it (0 where unknown).
std::int64_t residentBytes();

// Processor time the process has used, all its threads, in seconds. Against wall time it
// tells whether the machine let the process run all along.
double cpuSeconds();

// The system's load average over the last minute, as text ("0.42"), or empty.
std::string loadAverage();

} // namespace logbench
