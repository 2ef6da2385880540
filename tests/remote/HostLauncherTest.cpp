// Which Wine loader starts a control host, read from the program's own header.

#include "phone/remote/HostLauncher.h"
#include "phone/Error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using phone::remote::hostCommand;
using phone::remote::windowsProgramBits;

// An MZ stub whose PE header, at 0x80, names `machine`.
std::string peImage(std::uint16_t machine)
{
    std::string bytes(0x80, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3c] = '\x80';
    bytes += std::string("PE\0\0", 4);
    bytes += static_cast<char>(machine & 0xff);
    bytes += static_cast<char>(machine >> 8);
    bytes += std::string(18, '\0');
    return bytes;
}

class HostLauncherTest : public ::testing::Test
{
protected:
    std::string write(const std::string &name, const std::string &bytes)
    {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::string refusal(const std::string &path)
    {
        try {
            windowsProgramBits(path);
        } catch (const phone::Error &error) {
            EXPECT_EQ(error.kind(), phone::ErrorKind::Component);
            return error.description();
        }
        return "accepted";
    }

    void SetUp() override { std::filesystem::create_directories(m_dir); }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    const std::filesystem::path m_dir =
        std::filesystem::temp_directory_path()
        / ("host-launcher-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(HostLauncherTest, BitnessComesFromTheMachineInThePeHeader)
{
    const struct
    {
        std::uint16_t machine;
        int bits;
    } rows[] = {{0x014c, 32}, {0x8664, 64}, {0xaa64, 64}};
    for (const auto &row : rows)
        EXPECT_EQ(windowsProgramBits(write("host.exe", peImage(row.machine))), row.bits)
            << std::hex << row.machine;
}

TEST_F(HostLauncherTest, RefusesWhatIsNoHostWithTheFileNamed)
{
    const std::string missing = (m_dir / "missing.exe").string();
    const struct
    {
        std::string path;
        std::string reason;
    } rows[] = {
        {missing, "ist nicht vorhanden."},
        {write("empty.exe", ""), "ist kein Windows-Programm."},
        {write("script.exe", "#!/bin/sh\necho MZ\n"), "ist kein Windows-Programm."},
        {write("dos.exe", peImage(0x014c).substr(0, 0x80)), "ist kein Windows-Programm."},
        {write("far.exe", "MZ" + std::string(0x3a, '\0') + "\xff\xff\xff\x7f"),
         "ist kein Windows-Programm."},
        {write("arm32.exe", peImage(0x01c4)), "ist für einen unbekannten Prozessor gebaut."},
    };
    for (const auto &row : rows)
        EXPECT_EQ(refusal(row.path), "Der Steuerelement-Host „" + row.path + "“ " + row.reason);
}

#ifndef _WIN32
TEST_F(HostLauncherTest, RunsEachBitnessUnderItsOwnWineLoader)
{
    const std::string host64 = write("host64.exe", peImage(0x8664));
    const std::string host32 = write("host32.exe", peImage(0x014c));
    const std::vector<std::string> expected64 = {
        std::filesystem::exists("/usr/lib/wine/wine64") ? "/usr/lib/wine/wine64" : "wine64", host64,
        "--serve"};
    const std::vector<std::string> expected32 = {
        std::filesystem::exists("/usr/lib/wine/wine") ? "/usr/lib/wine/wine" : "wine", host32,
        "--serve"};
    EXPECT_EQ(hostCommand(host64).arguments, expected64);
    EXPECT_EQ(hostCommand(host32).arguments, expected32);
    EXPECT_EQ(hostCommand(host64).timeout, std::chrono::seconds(30));
}
#endif

#ifdef TERVANI_BUILT_HOSTS
// The hosts this build made: the bench's own and the one beside a 32-bit control.
TEST_F(HostLauncherTest, TheBuiltHostsHaveTheirBitness)
{
    EXPECT_EQ(windowsProgramBits(TERVANI_HOST_64), 64);
    EXPECT_EQ(windowsProgramBits(TERVANI_HOST_32), 32);
}
#endif

} // namespace
