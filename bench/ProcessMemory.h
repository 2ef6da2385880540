#pragma once

#include <cstdint>

namespace bench {

// The process's resident memory in bytes, as the system counts it (0 where unknown).
std::int64_t residentBytes();

} // namespace bench
