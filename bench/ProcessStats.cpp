#include "bench/ProcessStats.h"

#include <ctime>
#include <fstream>

#include <unistd.h>

namespace logbench {

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

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

std::string loadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    std::string first;
    loadavg >> first;
    return first;
}

} // namespace logbench
