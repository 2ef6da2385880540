#include "bench/ProcessMemory.h"

#include <fstream>

#include <unistd.h>

namespace bench {

std::int64_t residentBytes()
{
    // statm: total and resident size in pages.
    std::ifstream statm("/proc/self/statm");
    std::int64_t total = 0;
    std::int64_t resident = 0;
    if (!(statm >> total >> resident))
        return 0;
    return resident * sysconf(_SC_PAGESIZE);
}

} // namespace bench
