// The machine beneath the launcher: the ordinary-file test and, on Windows,
// the program start.
#include "file.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#ifdef _WIN32
#include "launcher.h"
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

using namespace brinevar;

namespace {

std::string Utf8(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

TEST(IsOrdinaryFile, CountsOrdinaryFilesOnly)
{
    TestFolder folder;
    folder.write("file.exe", "MZ");
    std::filesystem::create_directory(folder.path() / "folder.exe");
    EXPECT_TRUE(IsOrdinaryFile(Utf8(folder.path() / "file.exe")));
    EXPECT_FALSE(IsOrdinaryFile(Utf8(folder.path() / "folder.exe")));
    EXPECT_FALSE(IsOrdinaryFile(Utf8(folder.path() / "missing.exe")));
    EXPECT_FALSE(IsOrdinaryFile(""));
}

#ifdef _WIN32

void SetAttributes(const std::filesystem::path &file, DWORD attributes)
{
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), attributes));
}

TEST(IsOrdinaryFile, HiddenAndSystemFilesDoNotCount)
{
    TestFolder folder;
    for (const char *name : {"hidden.exe", "system.exe", "readonly.exe"})
        folder.write(name, "MZ");
    SetAttributes(folder.path() / "hidden.exe", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(folder.path() / "system.exe", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(folder.path() / "readonly.exe", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(IsOrdinaryFile(Utf8(folder.path() / "hidden.exe")));
    EXPECT_FALSE(IsOrdinaryFile(Utf8(folder.path() / "system.exe")));
    EXPECT_TRUE(IsOrdinaryFile(Utf8(folder.path() / "readonly.exe")));
    SetAttributes(folder.path() / "readonly.exe", FILE_ATTRIBUTE_NORMAL);
}

TEST(StartProgram, StartsWithoutWaitingAndReportsFailure)
{
    EXPECT_FALSE(StartProgram(""));
    EXPECT_FALSE(StartProgram("C:\\nowhere\\nothing.exe"));

    TestFolder folder;
    const std::filesystem::path marker = folder.path() / "started.txt";
    ASSERT_TRUE(StartProgram("cmd.exe /c echo started> \"" + Utf8(marker) + "\""));
    // The program runs on its own; wait for it here, as nobody else does.
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(std::filesystem::exists(marker));
    std::this_thread::sleep_for(std::chrono::milliseconds(200)); // let cmd let go of it
}

#endif

} // namespace
