// Measures the event log at scale on the real Form1, driven through the control boundary, and
// the obvious QListWidget design in the same run, and prints one table. See --help.

#include "bench/DisplayProbe.h"
#include "bench/ProcessStats.h"
#include "bench/Report.h"
#include "bench/Startup.h"
#include "bench/Subjects.h"
#include "cli/CommandLine.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace logbench {

namespace {

using namespace std::chrono_literals;

struct Options
{
    std::vector<std::int64_t> sizes{1000, 10000, 100000, 1000000};
    double pacedSeconds = 1.0;         // timed paced events per size
    std::int64_t maxRunEvents = 50000; // paced events before the list is refilled
    std::int64_t minPacedEvents = 10;
    double budgetSeconds = 60; // the baseline stops before a size estimated longer
    int startupRuns = 7;
};

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Lets the window settle: a few passes of the event loop, so that no repaint is pending and
// the next one is not held back by the last.
void settle()
{
    const auto until = Clock::now() + 20ms;
    while (Clock::now() < until)
        QCoreApplication::processEvents();
}

// Passes of the event loop with nothing new to show, for a random time shorter than a frame
// (16 ms). A paced run that follows starts at a random point of the window's refresh rhythm, so
// short runs carry their fair share of refreshes, neither one extra nor none.
void pauseWithinFrame()
{
    static std::mt19937 random(20240501);
    const auto until =
        Clock::now() + std::chrono::microseconds(std::uniform_int_distribution<>(0, 15999)(random));
    while (Clock::now() < until)
        QCoreApplication::processEvents();
}

void waitShown(Subject &subject)
{
    if (!waitUntilShown(*subject.probe, 600s)) {
        std::fprintf(stderr, "the window did not catch up with the newest event\n");
        ++subject.failures;
    }
}

// The window must hold every line the bench raised, the newest one last, and show the
// newest caption.
void check(Subject &subject)
{
    const bool linesOk = subject.listedLines() == subject.lines;
    const bool lastOk =
        subject.lines == 0
        || subject.lastListedLine() == QString::fromStdU16String(subject.feed.expectedLine());
    if (!linesOk || !lastOk) {
        std::fprintf(stderr, "list holds %lld lines, expected %lld%s\n",
                     static_cast<long long>(subject.listedLines()),
                     static_cast<long long>(subject.lines), lastOk ? "" : ", last line differs");
        ++subject.failures;
    }
}

void raiseBurst(Subject &subject, std::int64_t count)
{
    for (std::int64_t i = 0; i < count; ++i) {
        subject.feed.raise();
        subject.probe->raised(subject.feed.serial());
    }
    subject.lines += count;
}

// All events in one pass from an empty list: the pass itself, then the passes until the window
// shows the newest line. Memory is what the process grew by.
struct Burst
{
    Clock::duration pass{};
    Clock::duration catchUp{};
    double bytesPerLine = 0;
};

Burst burst(Subject &subject, std::int64_t count)
{
    subject.clearList();
    subject.lines = 0;
    settle();
    Burst result;
    const std::int64_t before = residentBytes();
    const auto start = Clock::now();
    raiseBurst(subject, count);
    const auto delivered = Clock::now();
    waitShown(subject);
    result.pass = delivered - start;
    result.catchUp = Clock::now() - delivered;
    result.bytesPerLine = double(residentBytes() - before) / double(count);
    check(subject);
    return result;
}

// One event per pass of the event loop while the list holds about `size` lines: runs of
// paced events, the list refilled to `size` between runs.
struct Paced
{
    std::int64_t events = 0;
    Clock::duration time{};
    double cpuSeconds = 0; // processor time of the process over the same runs
    Clock::duration maxLag{};
};

Paced paced(Subject &subject, std::int64_t size, const Options &options)
{
    Paced result;
    const auto budget = std::chrono::duration<double>(options.pacedSeconds);
    const std::int64_t runLength = std::min(size, options.maxRunEvents);
    // Tiny lists would need thousands of runs to fill the time; a few hundred are plenty.
    for (int runs = 0;
         runs < 300 && (result.time < budget || result.events < options.minPacedEvents); ++runs) {
        if (subject.lines != size) {
            subject.clearList();
            subject.lines = 0;
            raiseBurst(subject, size);
            waitShown(subject);
        }
        pauseWithinFrame();
        subject.probe->startTiming(); // refilling is no part of the paced figures
        const auto start = Clock::now();
        const double startCpu = cpuSeconds();
        std::int64_t run = 0;
        while (run < runLength) {
            subject.feed.raise();
            subject.probe->raised(subject.feed.serial());
            QCoreApplication::processEvents();
            ++run;
            if (result.events + run >= options.minPacedEvents
                && result.time + (Clock::now() - start) >= budget)
                break;
        }
        result.time += Clock::now() - start;
        result.cpuSeconds += cpuSeconds() - startCpu;
        result.events += run;
        subject.lines += run;
        waitShown(subject);
        subject.probe->stopTiming();
        result.maxLag = std::max(result.maxLag, subject.probe->maxLag());
    }
    check(subject);
    return result;
}

struct Results
{
    std::vector<Row> rows;
    MemoryCheck memory;
    std::int64_t failures = 0;
};

Results measure(Subject &subject, const char *name, const Options &options, bool budgeted)
{
    Results results;
    subject.window()->show();
    settle();
    // A first few events, so that no figure pays for code and caches warming up.
    raiseBurst(subject, 2000);
    waitShown(subject);
    subject.clearList();
    subject.lines = 0;
    settle();
    results.memory.emptyBytes = residentBytes();

    Row previous;
    for (std::int64_t size : options.sizes) {
        Row row;
        row.lines = size;
        if (budgeted && previous.measured) {
            const double scale = double(size) / double(previous.lines);
            const double estimate =
                previous.burstSeconds * scale
                + std::max(options.pacedSeconds,
                           double(options.minPacedEvents) * previous.pacedMicros * 1e-6 * scale);
            if (estimate > options.budgetSeconds) {
                row.skippedEstimate = estimate;
                results.rows.push_back(row);
                previous = row;
                continue;
            }
        }
        if (budgeted && !previous.measured && previous.skippedEstimate > 0) {
            row.skippedEstimate = previous.skippedEstimate * double(size) / double(previous.lines);
            results.rows.push_back(row);
            previous = row;
            continue;
        }

        const Burst b = burst(subject, size);
        row.burstSeconds = seconds(b.pass + b.catchUp);
        row.burstRate = double(size) / seconds(b.pass);
        row.catchUpMs = seconds(b.catchUp) * 1e3;
        row.bytesPerLine = b.bytesPerLine;
        std::fprintf(stderr, "%s, %lld lines: burst %.3f s, shown %.1f ms later", name,
                     static_cast<long long>(size), seconds(b.pass), row.catchUpMs);
        results.memory.fullBytes = residentBytes();
        results.memory.fullLines = size;

        const Paced p = paced(subject, size, options);
        row.pacedMicros = seconds(p.time) * 1e6 / double(p.events);
        row.pacedRate = double(p.events) / seconds(p.time);
        row.pacedShareRunning = p.cpuSeconds / seconds(p.time);
        row.maxLagMs = seconds(p.maxLag) * 1e3;
        row.measured = true;
        std::fprintf(stderr, ", paced %.1f µs/event over %lld events\n", row.pacedMicros,
                     static_cast<long long>(p.events));
        results.rows.push_back(row);
        previous = row;
    }

    subject.clearList();
    subject.lines = 0;
    settle();
    check(subject);
    results.memory.clearedBytes = residentBytes();
    results.failures = subject.failures;
    subject.window()->hide();
    return results;
}

constexpr cli::Usage usage{
    "log_bench",
    "log_bench [--sizes N,N,...] [--paced-seconds S] [--budget S] [--startup-runs N]\n"
    "       log_bench --help | --version\n"
    "  --sizes          lines in the list to measure at (default 1000,10000,100000,1000000)\n"
    "  --paced-seconds  timed paced events per size (default 1)\n"
    "  --budget         the QListWidget log stops before a size estimated to take longer\n"
    "                   (default 60)\n"
    "  --startup-runs   start-ups per window kind; the median counts (default 7)\n"
    "Runs offscreen unless QT_QPA_PLATFORM says otherwise.\n"};

// On a wrong argument, says which.
bool parse(int argc, char **argv, Options *options, std::string *wrong)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        *wrong = arg;
        const bool hasValue = i + 1 < argc;
        if (arg == "--sizes" && hasValue) {
            options->sizes.clear();
            std::string list = argv[++i];
            for (std::size_t pos = 0; pos <= list.size();) {
                const std::size_t comma = std::min(list.find(',', pos), list.size());
                const long long value = std::atoll(list.substr(pos, comma - pos).c_str());
                if (value <= 0)
                    return false;
                options->sizes.push_back(value);
                pos = comma + 1;
            }
        } else if (arg == "--paced-seconds" && hasValue) {
            options->pacedSeconds = std::atof(argv[++i]);
        } else if (arg == "--budget" && hasValue) {
            options->budgetSeconds = std::atof(argv[++i]);
        } else if (arg == "--startup-runs" && hasValue) {
            options->startupRuns = std::max(1, std::atoi(argv[++i]));
        } else {
            return false;
        }
    }
    wrong->clear();
    std::sort(options->sizes.begin(), options->sizes.end());
    return !options->sizes.empty();
}

} // namespace

} // namespace logbench

int main(int argc, char *argv[])
{
    using namespace logbench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && std::string(argv[1]) == "--startup-child")
        return runStartupChild(argc, argv, argv[2]);

    if (const auto answered = cli::answerCommonOptions(usage, argc, argv))
        return *answered;

    Options options;
    std::string wrong;
    if (!parse(argc, argv, &options, &wrong))
        return cli::wrongCall(usage, wrong.empty() ? "no sizes to measure at"
                                                   : "cannot take \"" + wrong + "\"");

    QApplication application(argc, argv);
    Report report;
    report.machine = describeMachine();
    report.loadBefore = loadAverage();
    report.lineLength = static_cast<int>(EventFeed().expectedLine().size());
    report.startup = measureStartup(options.startupRuns);
    {
        OurLog ours;
        const Results results = measure(ours, "Form1", options, false);
        report.ours = results.rows;
        report.oursMemory = results.memory;
        report.failures += results.failures;
    }
    {
        PlainLog plain;
        const Results results = measure(plain, "QListWidget", options, true);
        report.baseline = results.rows;
        report.baselineMemory = results.memory;
        report.failures += results.failures;
    }
    report.loadAfter = loadAverage();
    printReport(report, stdout);
    return report.failures == 0 ? 0 : 1;
}
