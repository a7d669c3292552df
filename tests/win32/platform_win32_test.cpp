// Windows-only behaviour of the platform services: module names, separators, the log's place.
#include "platform/platform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vrn
{
namespace
{

std::string Lowercase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

TEST(PlatformWin32, LibraryFileNameFollowsTheGivenModule)
{
    char executable[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, executable, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(platform::LibraryFileName(), std::string(executable, length));

    platform::SetModuleHandle(GetModuleHandleA("kernel32.dll"));
    const std::string kernel = Lowercase(platform::LibraryFileName());
    platform::SetModuleHandle(nullptr);
    EXPECT_EQ(kernel.substr(kernel.size() - 13), "\\kernel32.dll");
}

TEST(PlatformWin32, KeepsBackslashesAndLogsAtTheDriveRoot)
{
    EXPECT_EQ(platform::NativePath("vrn_gfx\\knob_sm.png"), "vrn_gfx\\knob_sm.png");
    EXPECT_EQ(platform::LogFilePath(), "\\tovl.log.txt");
}

} // namespace
} // namespace vrn
