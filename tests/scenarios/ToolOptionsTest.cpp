// The scenario tool's command line: what each run is against, and the combinations it refuses
// before anything runs.
#include "tools/scenario/ToolOptions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using scenario::Against;
using scenario::parseToolOptions;

QStringList split(const char *line)
{
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

std::string refusal(const char *line)
{
    try {
        parseToolOptions(split(line));
    } catch (const scenario::UsageError &error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(ToolOptions, ReadsEachKindOfRun)
{
    EXPECT_EQ(parseToolOptions(split("a.scn")).against, Against::Script);
    EXPECT_EQ(parseToolOptions(split("--com -")).against, Against::ScriptThroughCom);

    const scenario::ToolOptions simulated =
        parseToolOptions(split("--sim --sim-caller 0301 --junit r.xml --trace t.txt a.scn"));
    EXPECT_EQ(simulated.against, Against::Simulation);
    EXPECT_TRUE(simulated.live());
    EXPECT_EQ(simulated.simCaller, u"0301");
    EXPECT_EQ(simulated.junitPath, u"r.xml");
    EXPECT_EQ(simulated.tracePath, u"t.txt");
    EXPECT_EQ(simulated.scriptPath, u"a.scn");

    const scenario::ToolOptions hosted = parseToolOptions(
        split("--control Tervani.X --host h.exe --timeout 2,5 --record r.scn a.scn"));
    EXPECT_EQ(hosted.against, Against::Control);
    EXPECT_EQ(hosted.progId, u"Tervani.X");
    EXPECT_EQ(hosted.hostPath, u"h.exe");
    EXPECT_EQ(hosted.timeout, std::chrono::milliseconds(2500));
    EXPECT_EQ(hosted.recordPath, u"r.scn");
    // Without --timeout, the bench's own watchdog.
    EXPECT_EQ(parseToolOptions(split("--control X a.scn")).timeout, std::chrono::seconds(30));
}

struct Refused
{
    const char *name;
    const char *line;
    std::string reason;
};

class RefusedCommandLine : public testing::TestWithParam<Refused>
{
};

TEST_P(RefusedCommandLine, SaysWhy)
{
    EXPECT_EQ(refusal(GetParam().line), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    ToolOptions, RefusedCommandLine,
    testing::Values(
        Refused{"NoScript", "", "a script is needed"},
        Refused{"OptionInsteadOfScript", "--sim", "a script is needed after the options"},
        Refused{"ControlWithoutProgId", "--control a.scn", "--control needs a value"},
        Refused{"TwoControls", "--sim --control X a.scn",
                "--control goes with no other of --com, --sim, --control"},
        Refused{"ComAndSim", "--com --sim a.scn",
                "--sim goes with no other of --com, --sim, --control"},
        Refused{"HostWithoutControl", "--sim --host h.exe a.scn",
                "--host and --timeout go only with --control"},
        Refused{"TimeoutWithoutControl", "--timeout 5 a.scn",
                "--host and --timeout go only with --control"},
        Refused{"NoTimeout", "--control X --timeout 0 a.scn",
                "--timeout takes seconds, more than 0 and at most 86400: 0"},
        Refused{"CallerWithoutSimulation", "--control X --sim-caller 1 a.scn",
                "--sim-caller goes only with --sim"},
        Refused{"TraceIntoTheTranscript", "--sim --trace - a.scn",
                "--trace and --junit write to a file: the transcript is standard output"},
        Refused{"OneFileTwice", "--sim --trace x --junit x a.scn",
                "--record, --trace and --junit need different files"},
        Refused{"UnknownOption", "--verbose a.scn", "unknown option --verbose"}),
    [](const testing::TestParamInfo<Refused> &info) { return std::string(info.param.name); });

} // namespace
