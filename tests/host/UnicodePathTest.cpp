// The bench finds its host beside the program wherever that folder is: a user's folder may have
// an umlaut and a blank in its name.

#include "phone/remote/HostLauncher.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string utf8(const std::wstring &text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

TEST(HostLauncher, FindsAHostInAFolderWithAnUmlautAndABlank)
{
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::wstring folder(self, length);
    folder.erase(folder.find_last_of(L'\\') + 1);
    folder += L"J\u00fcrgen Test";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring host = folder + L"\\tervani-host.exe";
    ASSERT_TRUE(CopyFileW(self, host.c_str(), FALSE));

    EXPECT_EQ(phone::remote::windowsProgramBits(utf8(host)), int(sizeof(void *) * 8));
    DeleteFileW(host.c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace
