// The bench's end against a real host process: the test host (TestHost.cpp), started as the
// bench starts its control host, behaving and misbehaving.
#include "TestSupport.h"

#include "phone/Error.h"
#include "phone/Members.h"
#include "phone/remote/HostProcess.h"
#include "phone/remote/RemoteControl.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using namespace std::chrono_literals;
using namespace phone::remote;
using namespace remote_test;
using phone::Argument;
using phone::Value;
namespace dispid = phone::dispid;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto watchdog = 400ms;

std::filesystem::path exitFile()
{
    return std::filesystem::temp_directory_path()
           / ("tervani-remote-test-" + std::to_string(::getpid()) + ".exit");
}

HostCommand command(const std::string &mode)
{
    HostCommand command;
    command.arguments = {TERVANI_TEST_HOST, mode};
    command.environment = {{"TERVANI_TEST_TEXT", "aus der Umgebung"},
                           {"TERVANI_TEST_EXIT_FILE", exitFile().string()}};
    command.timeout = watchdog;
    command.closeGrace = 300ms;
    return command;
}

std::string errorOf(const std::function<void()> &access)
{
    try {
        access();
    } catch (const phone::Error &error) {
        EXPECT_EQ(error.kind(), phone::ErrorKind::Component);
        return error.description();
    }
    return "(no error)";
}

void dial(RemoteControl &control)
{
    std::vector<Argument> arguments{{std::u16string(u"0301234"), false}};
    control.invoke(dispid::Dial, arguments);
}

std::string readExitFile()
{
    std::ifstream in(exitFile());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HostProcessTest : public testing::Test
{
protected:
    void SetUp() override { std::filesystem::remove(exitFile()); }
    void TearDown() override { std::filesystem::remove(exitFile()); }

    // The running access fails with `expected`, within the watchdog and a margin; every later
    // one fails the same way at once.
    void expectBroken(RemoteControl &control, const std::function<void()> &access,
                      const std::string &expected)
    {
        const auto start = Clock::now();
        EXPECT_EQ(errorOf(access), expected);
        EXPECT_LT(Clock::now() - start, watchdog + 1500ms);
        const auto again = Clock::now();
        EXPECT_EQ(errorOf([&] { control.getProperty(dispid::PopUp); }), expected);
        EXPECT_EQ(errorOf([&] { dial(control); }), expected);
        EXPECT_LT(Clock::now() - again, 50ms);
    }

    TaskQueue tasks;
};

TEST_F(HostProcessTest, ServesCallsAndEventsAndEndsWhenClosed)
{
    {
        HostProcess host(command("serve"));
        RemoteControl control(host.channel(), u"TervaniActiveX.axTervani", tasks.poster());
        EventTextSink sink;
        std::vector<std::string> seen;
        sink.action = [&](std::string_view) {
            seen.push_back(show(control.getProperty(dispid::ConnectionCount)));
        };
        control.connectEvents(&sink);

        EXPECT_EQ(show(control.getProperty(dispid::LatestText)), "'aus der Umgebung'");
        control.putProperty(dispid::PopUp, false);
        EXPECT_EQ(show(control.getProperty(dispid::PopUp)), "false");
        dial(control);
        std::vector<Argument> id{{std::int32_t{1}, true}};
        control.invoke(dispid::HangUp, id);
        for (int i = 0; i < 20 && sink.events.size() < 2; ++i)
            tasks.runPosted(250ms);
        EXPECT_EQ(sink.events, (std::vector<std::string>{"OnConnecting '4711' '0301234' i32:1",
                                                         "OnDisConnected '4711' '0' i32:1"}));
        EXPECT_EQ(seen, (std::vector<std::string>{"i32:1", "i32:1"}));
    }
    // Told to close, the host released the control and ended by itself.
    EXPECT_EQ(readExitFile(), "released");
}

TEST_F(HostProcessTest, NamesAProgramThatIsMissing)
{
    HostCommand missing = command("serve");
    missing.arguments = {"/nonexistent/tervani-host.exe", "serve"};
    EXPECT_EQ(errorOf([&] { HostProcess host(missing); }),
              "Der Steuerelement-Host „/nonexistent/tervani-host.exe serve“ konnte nicht "
              "gestartet werden: No such file or directory (2)");
}

TEST_F(HostProcessTest, NamesAProgramThatCannotRun)
{
    HostCommand notProgram = command("serve");
    notProgram.arguments = {TERVANI_TEST_SOURCE_DIR "/CMakeLists.txt"};
    EXPECT_EQ(errorOf([&] { HostProcess host(notProgram); }),
              "Der Steuerelement-Host „" TERVANI_TEST_SOURCE_DIR
              "/CMakeLists.txt“ konnte nicht gestartet werden: Permission denied (13)");
}

TEST_F(HostProcessTest, ReportsAHostThatEndsAtOnce)
{
    HostProcess host(command("exit-at-start"));
    EXPECT_EQ(errorOf([&] { RemoteControl control(host.channel(), u"X", tasks.poster()); }),
              "Der Steuerelement-Host ist beendet.");
}

TEST_F(HostProcessTest, ReportsAHostThatEndsMidCall)
{
    HostProcess host(command("exit-mid-call"));
    RemoteControl control(host.channel(), u"X", tasks.poster());
    EXPECT_EQ(show(control.getProperty(dispid::PopUp)), "true");
    expectBroken(
        control, [&] { dial(control); }, "Der Steuerelement-Host ist beendet.");
}

TEST_F(HostProcessTest, ReportsAHostThatStopsAnswering)
{
    const auto start = Clock::now();
    {
        HostProcess host(command("silent-mid-call"));
        RemoteControl control(host.channel(), u"X", tasks.poster());
        const auto before = Clock::now();
        expectBroken(
            control, [&] { dial(control); }, "Der Steuerelement-Host antwortet nicht (0,4 s).");
        EXPECT_GE(Clock::now() - before, watchdog);
    }
    // Killed after its grace: the test does not wait for a hung host.
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_EQ(readExitFile(), "");
}

TEST_F(HostProcessTest, ReportsAHostThatSendsGarbage)
{
    HostProcess host(command("garbage-mid-call"));
    RemoteControl control(host.channel(), u"X", tasks.poster());
    expectBroken(
        control, [&] { dial(control); },
        "Der Steuerelement-Host hat unlesbare Daten gesendet: unbekannter "
        "Nachrichtentyp 0xee");
}

TEST_F(HostProcessTest, ReportsAHostThatAnnouncesAHugeFrame)
{
    HostProcess host(command("huge-frame"));
    RemoteControl control(host.channel(), u"X", tasks.poster());
    expectBroken(
        control, [&] { dial(control); },
        "Der Steuerelement-Host hat unlesbare Daten gesendet: Rahmen zu groß "
        "(4294967295 Bytes, höchstens 67108864)");
}

} // namespace
