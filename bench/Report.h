#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace logbench {

// One size of one log.
struct Row
{
    std::int64_t lines = 0;
    bool measured = false;
    double skippedEstimate = 0; // seconds the size was estimated to take, when it was skipped
    double pacedMicros = 0;
    double pacedRate = 0;
    double maxLagMs = 0;
    double pacedShareRunning = 1; // processor time / wall time while paced
    double burstSeconds = 0;      // the pass and the catching up
    double burstRate = 0;         // events a second through the pass
    double catchUpMs = 0;         // from the end of the pass until the newest line is on screen
    double bytesPerLine = 0;
};

// Resident memory with the list empty, full (largest size) and after clearing it.
struct MemoryCheck
{
    std::int64_t emptyBytes = 0;
    std::int64_t fullBytes = 0;
    std::int64_t fullLines = 0;
    std::int64_t clearedBytes = 0;
};

// Median milliseconds from starting a process to the end of its window's first paint.
struct Startup
{
    double bareMs = -1;
    double labelMs = -1; // the bare window with one label
    double form1Ms = -1;
    double listWidgetMs = -1;
};

struct Report
{
    std::string machine;
    std::string loadBefore; // load averages at the start and the end of the run
    std::string loadAfter;
    int lineLength = 0;
    Startup startup;
    std::vector<Row> ours;
    std::vector<Row> baseline;
    MemoryCheck oursMemory;
    MemoryCheck baselineMemory;
    std::int64_t failures = 0;
};

// "AMD EPYC, 2 cores, Qt 6.4.2 (offscreen)"
std::string describeMachine();

void printReport(const Report &report, std::FILE *out);

} // namespace logbench
