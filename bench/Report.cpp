#include "bench/Report.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <fstream>

#include <unistd.h>

namespace logbench {

namespace {

// Thousands separated by commas: "1,234,567.8".
std::string grouped(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
    const std::string digits(buffer);
    const std::size_t point = std::min(digits.find('.'), digits.size());
    std::string out = value < 0 ? "-" : "";
    for (std::size_t i = 0; i < point; ++i) {
        if (i > 0 && (point - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out + digits.substr(point);
}

// Decimals only where they matter: 3.1 but 14,988.
std::string figure(double value, int decimals)
{
    return grouped(value, std::fabs(value) >= 1000 ? 0 : decimals);
}

std::string ratio(double better)
{
    if (!(better > 0) || !std::isfinite(better))
        return "";
    return grouped(better, better >= 100 ? 0 : 1) + "×";
}

// Width in characters of UTF-8 text.
std::size_t width(const std::string &text)
{
    return std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
}

std::string right(const std::string &text, std::size_t columns)
{
    const std::size_t w = width(text);
    return std::string(columns > w ? columns - w : 0, ' ') + text;
}

std::string left(const std::string &text, std::size_t columns)
{
    const std::size_t w = width(text);
    return text + std::string(columns > w ? columns - w : 0, ' ');
}

struct Metric
{
    const char *title;
    int decimals;
    bool higherIsBetter;
    bool paced;
    double Row::*field;
};

constexpr Metric metrics[] = {
    {"µs per event, paced", 1, false, true, &Row::pacedMicros},
    {"events/s, paced", 0, true, true, &Row::pacedRate},
    {"lag ms, paced", 1, false, true, &Row::maxLagMs},
    {"events/s, burst", 0, true, false, &Row::burstRate},
    {"shown after, ms", 1, false, false, &Row::catchUpMs},
    {"bytes per line", 0, false, false, &Row::bytesPerLine},
};

// Below this share of processor time over wall time, other processes held the machine.
constexpr double busyShare = 0.9;

constexpr std::size_t linesColumn = 10;
constexpr std::size_t valueColumn = 10;
constexpr std::size_t ratioColumn = 9;
constexpr std::size_t gap = 2;

double megabytes(std::int64_t bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

const char *verdict(bool met)
{
    return met ? "met" : "NOT met";
}

} // namespace

std::string describeMachine()
{
    std::string model = "unknown CPU";
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    return model + ", " + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores (nproc), Qt "
           + qVersion() + " (" + QGuiApplication::platformName().toStdString() + ")";
}

void printReport(const Report &report, std::FILE *out)
{
    std::fprintf(out,
                 "Event log benchmark: %s; lines of %d characters; load average %s at the "
                 "start, %s at the end\n",
                 report.machine.c_str(), report.lineLength, report.loadBefore.c_str(),
                 report.loadAfter.c_str());
    std::fprintf(out, "Form1: our log on the real window. QLW: a plain QListWidget log in the "
                      "same run. ×: how many times Form1 is better.\n");
    std::fprintf(out, "paced: one event per pass of the event loop, lag: from an event to the "
                      "paint that shows it.\n");
    std::fprintf(out, "burst: all events in one pass into an empty list, shown after: from the "
                      "end of that pass to the paint that shows the newest line.\n\n");

    const std::size_t group = 2 * valueColumn + ratioColumn + gap;
    std::string line = left("", linesColumn);
    for (const Metric &metric : metrics)
        line += right(metric.title, group);
    std::fprintf(out, "%s\n", line.c_str());
    line = left("lines", linesColumn);
    for (std::size_t i = 0; i < std::size(metrics); ++i)
        line +=
            right("Form1", valueColumn + gap) + right("QLW", valueColumn) + right("×", ratioColumn);
    std::fprintf(out, "%s\n", line.c_str());

    std::vector<std::string> notes;
    for (std::size_t r = 0; r < report.ours.size(); ++r) {
        const Row &ours = report.ours[r];
        const Row *base = r < report.baseline.size() ? &report.baseline[r] : nullptr;
        line = left(grouped(double(ours.lines), 0), linesColumn);
        for (const Metric &metric : metrics) {
            const double mine = ours.*metric.field;
            std::string mark;
            if (ours.measured && metric.paced && ours.pacedShareRunning < busyShare)
                mark = "*";
            line += right(ours.measured ? mark + figure(mine, metric.decimals) : "—",
                          valueColumn + gap);
            if (base && base->measured) {
                const double theirs = (*base).*metric.field;
                line += right(figure(theirs, metric.decimals), valueColumn);
                line += right(ratio(metric.higherIsBetter ? mine / theirs : theirs / mine),
                              ratioColumn);
            } else {
                line += right("—", valueColumn) + right("", ratioColumn);
            }
        }
        std::fprintf(out, "%s\n", line.c_str());
        if (base && !base->measured && base->skippedEstimate > 0 && notes.empty())
            notes.push_back("QLW stopped before " + grouped(double(base->lines), 0)
                            + " lines: estimated " + grouped(base->skippedEstimate, 0)
                            + " s there, over the budget");
    }
    const Startup &start = report.startup;
    std::fprintf(out,
                 "\nstart-up ms, process start to first paint (median): Form1 %.1f, QLW %.1f "
                 "(%s); bare Qt window %.1f, bare window with one label %.1f\n",
                 start.form1Ms, start.listWidgetMs,
                 ratio(start.listWidgetMs / start.form1Ms).c_str(), start.bareMs, start.labelMs);
    for (const std::string &note : notes)
        std::fprintf(out, "%s\n", note.c_str());
    for (const Row &row : report.ours) {
        if (row.measured && row.pacedShareRunning < busyShare) {
            std::fprintf(out,
                         "*: while paced, the process had the processor only %.0f%% of the "
                         "time at %s lines (machine busy)\n",
                         row.pacedShareRunning * 100, grouped(double(row.lines), 0).c_str());
        }
    }

    // The goals, judged on Form1's figures.
    std::vector<const Row *> measured;
    for (const Row &row : report.ours) {
        if (row.measured)
            measured.push_back(&row);
    }
    if (measured.empty())
        return;
    const Row &smallest = *measured.front();
    const Row &largest = *measured.back();
    double slowestPaced = smallest.pacedRate, worstLag = 0, slowestBurst = smallest.burstRate;
    double slowestCatchUp = 0;
    for (const Row *row : measured) {
        slowestPaced = std::min(slowestPaced, row->pacedRate);
        worstLag = std::max(worstLag, row->maxLagMs);
        slowestBurst = std::min(slowestBurst, row->burstRate);
        slowestCatchUp = std::max(slowestCatchUp, row->catchUpMs);
    }
    const double flat = largest.pacedMicros / smallest.pacedMicros;
    const MemoryCheck &m = report.oursMemory;
    const bool givenBack = m.clearedBytes - m.emptyBytes <= (m.fullBytes - m.emptyBytes) / 10;
    const double startupRatio = report.startup.form1Ms / report.startup.bareMs;

    std::fprintf(out, "\nGoals (Form1):\n");
    std::fprintf(out,
                 "1 flat cost: paced µs/event at %s lines / at %s lines = %.2f (at most 1.2): "
                 "%s\n",
                 grouped(double(largest.lines), 0).c_str(),
                 grouped(double(smallest.lines), 0).c_str(), flat, verdict(flat <= 1.2));
    std::fprintf(out,
                 "2 paced: slowest %s events/s (at least 20,000), largest lag %.1f ms (about "
                 "33 at most): %s\n",
                 grouped(slowestPaced, 0).c_str(), worstLag,
                 verdict(slowestPaced >= 20000 && worstLag <= 33.5));
    std::fprintf(out,
                 "3 burst: slowest %s events/s (at least 1,000,000), newest line shown at "
                 "most %.1f ms after the pass: %s\n",
                 grouped(slowestBurst, 0).c_str(), slowestCatchUp, verdict(slowestBurst >= 1e6));
    std::fprintf(out,
                 "4 memory: %.0f bytes per line at %s lines (at most 100); resident %.1f MB "
                 "empty, %.1f MB full, %.1f MB after BTN_Clear: %s\n",
                 largest.bytesPerLine, grouped(double(largest.lines), 0).c_str(),
                 megabytes(m.emptyBytes), megabytes(m.fullBytes), megabytes(m.clearedBytes),
                 verdict(largest.bytesPerLine <= 100 && givenBack));
    std::fprintf(out,
                 "5 start-up: Form1 / bare Qt window = %.2f (at most 1.2): %s; Form1 / bare window "
                 "with one label = %.2f\n",
                 startupRatio, verdict(startupRatio <= 1.2),
                 report.startup.form1Ms / report.startup.labelMs);
    const MemoryCheck &b = report.baselineMemory;
    std::fprintf(out,
                 "QLW memory: resident %.1f MB empty, %.1f MB full, %.1f MB after "
                 "clear()\n",
                 megabytes(b.emptyBytes), megabytes(b.fullBytes), megabytes(b.clearedBytes));
    if (report.failures)
        std::fprintf(out, "\n%lld checks FAILED: a window did not show what it should\n",
                     static_cast<long long>(report.failures));
}

} // namespace logbench
