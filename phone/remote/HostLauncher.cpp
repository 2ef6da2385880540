#include "phone/remote/HostLauncher.h"

#include "phone/Error.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

namespace phone::remote {

namespace {

[[noreturn]] void refuse(const std::string &path, const std::string &why)
{
    throw Error(ErrorKind::Component, "Der Steuerelement-Host „" + path + "“ " + why);
}

// Paths are UTF-8 on every platform; a narrow string would be read in Windows' ANSI code page,
// and a folder such as "C:\Users\Jürgen" would not be found.
std::filesystem::path fromUtf8(const std::string &path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::uint32_t littleEndian(const unsigned char *bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

#ifndef _WIN32
// Debian's own places first: /usr/bin/wine may be the 32-bit loader's wrapper.
std::string wineLoader(int bits)
{
    const char *installed = bits == 64 ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
    if (std::filesystem::exists(installed))
        return installed;
    return bits == 64 ? "wine64" : "wine";
}
#endif

} // namespace

int windowsProgramBits(const std::string &path)
{
    std::ifstream file(fromUtf8(path), std::ios::binary);
    if (!file)
        refuse(path, std::filesystem::exists(fromUtf8(path)) ? "kann nicht gelesen werden."
                                                             : "ist nicht vorhanden.");
    std::array<unsigned char, 64> dosHeader{};
    file.read(reinterpret_cast<char *>(dosHeader.data()), dosHeader.size());
    if (!file || dosHeader[0] != 'M' || dosHeader[1] != 'Z')
        refuse(path, "ist kein Windows-Programm.");
    const std::uint32_t peOffset = littleEndian(dosHeader.data() + 0x3c, 4);
    std::array<unsigned char, 6> peHeader{};
    file.seekg(peOffset);
    file.read(reinterpret_cast<char *>(peHeader.data()), peHeader.size());
    if (!file || peHeader[0] != 'P' || peHeader[1] != 'E' || peHeader[2] != 0 || peHeader[3] != 0)
        refuse(path, "ist kein Windows-Programm.");
    switch (littleEndian(peHeader.data() + 4, 2)) {
    case 0x014c: // IMAGE_FILE_MACHINE_I386
        return 32;
    case 0x8664: // IMAGE_FILE_MACHINE_AMD64
    case 0xaa64: // IMAGE_FILE_MACHINE_ARM64
        return 64;
    default:
        refuse(path, "ist für einen unbekannten Prozessor gebaut.");
    }
}

HostCommand hostCommand(const std::string &hostPath)
{
    const int bits = windowsProgramBits(hostPath);
    HostCommand command;
#ifdef _WIN32
    (void)bits;
    command.arguments = {hostPath, "--serve"};
#else
    command.arguments = {wineLoader(bits), hostPath, "--serve"};
#endif
    return command;
}

} // namespace phone::remote
