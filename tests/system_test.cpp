// The machine beneath the launcher: the registry (the stand-in here, advapi32
// on Windows), the ordinary-file test and, on Windows, the program start.
#include "file.h"
#include "registry.h"
#include "sysinfo.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#ifdef _WIN32
#include "launcher.h"
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include "registrystandin.h"
#endif

using namespace brinevar;

namespace {

const std::string kToolKey(kSysInfoKey), kToolValue(kSysInfoValue);
const std::string kLocationKey(kSysInfoLocationKey), kLocationValue(kSysInfoLocationValue);

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

#ifndef _WIN32

enum class Kind { Program, PlainFile, Folder };

struct Installed {
    const char *name;
    std::vector<std::pair<std::string, Kind>> present; // of the candidates a, b, c
    std::string answer;                                // the name answered; empty: none
};

std::ostream &operator<<(std::ostream &out, const Installed &row)
{
    return out << row.name;
}

class StandInTest : public testing::TestWithParam<Installed> {};

TEST_P(StandInTest, AnswersTheFirstInstalledProgram)
{
    const Installed &row = GetParam();
    TestFolder folder;
    const auto path = [&](const std::string &name) { return (folder.path() / name).string(); };
    for (const auto &[name, kind] : row.present) {
        if (kind == Kind::Folder) {
            std::filesystem::create_directory(path(name));
            continue;
        }
        folder.write(name, "#!/bin/sh\n");
        if (kind == Kind::Program)
            std::filesystem::permissions(path(name), std::filesystem::perms::owner_exec,
                                         std::filesystem::perm_options::add);
    }
    StandInRegistry registry({path("a"), path("b"), path("c")});

    std::string value = "before";
    Result readable;
    EXPECT_EQ(GetKeyValue(registry, kHKeyLocalMachine, kToolKey, kToolValue, value, readable),
              !row.answer.empty());
    EXPECT_EQ(value, row.answer.empty() ? "" : path(row.answer));
    EXPECT_FALSE(
        GetKeyValue(registry, kHKeyLocalMachine, kLocationKey, kLocationValue, value, readable));
    EXPECT_TRUE(readable);

    std::vector<std::string> started, messages;
    StartSysInfo({{registry, [](const std::string &) { return true; },
                   [&](const std::string &commandLine) {
                       started.push_back(commandLine);
                       return Result();
                   }},
                  [&](const std::string &text) { messages.push_back(text); }});
    if (row.answer.empty()) {
        EXPECT_TRUE(started.empty());
        EXPECT_EQ(messages, std::vector<std::string>{std::string(kSysInfoUnavailable)});
    } else {
        EXPECT_EQ(started, std::vector<std::string>{path(row.answer)});
        EXPECT_TRUE(messages.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Programs, StandInTest,
    testing::Values(
        Installed{"NoneInstalled", {}, ""}, Installed{"OnlyTheFirst", {{"a", Kind::Program}}, "a"},
        Installed{"OnlyTheLast", {{"c", Kind::Program}}, "c"},
        Installed{"FirstOfSeveral", {{"b", Kind::Program}, {"c", Kind::Program}}, "b"},
        Installed{"NotExecutableIsSkipped", {{"a", Kind::PlainFile}, {"b", Kind::Program}}, "b"},
        Installed{"FolderIsSkipped", {{"a", Kind::Folder}, {"c", Kind::Program}}, "c"},
        Installed{"NothingUsable", {{"a", Kind::Folder}, {"b", Kind::PlainFile}}, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StandInRegistry, BehavesAsTheRegistryCallsDo)
{
    TestFolder folder;
    folder.write("tool", "");
    const std::string tool = (folder.path() / "tool").string();
    std::filesystem::permissions(tool, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    StandInRegistry registry({tool});

    RegistryValue value;
    EXPECT_EQ(registry.ReadValue(kHKeyLocalMachine + 1, kToolKey, kToolValue, kKeyRead, 1024, value)
                  .cause(),
              RegistryFailure(kErrorFileNotFound).cause());
    // Names ignore case, as Windows' do.
    EXPECT_EQ(registry
                  .ReadValue(kHKeyLocalMachine, "software\\microsoft\\shared tools\\msinfo", "path",
                             kKeyRead, 4, value)
                  .cause(),
              RegistryFailure(kErrorMoreData).cause());
    EXPECT_EQ(
        registry.ReadValue(kHKeyLocalMachine, kToolKey, "PATHS", kKeyRead, 1024, value).cause(),
        RegistryFailure(kErrorFileNotFound).cause());
    ASSERT_TRUE(registry.ReadValue(kHKeyLocalMachine, kToolKey, "path", kKeyRead, 1024, value));
    EXPECT_EQ(value.type, kRegSz);
    EXPECT_EQ(value.data, tool + '\0');
}

#else

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

// The values that scripts/wine-test.sh puts into the registry, as it passes
// them on; without them there is nothing to read.
std::string Expected(const wchar_t *variable)
{
    const wchar_t *value = _wgetenv(variable);
    if (!value)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, value, -1, nullptr, 0, nullptr, nullptr);
    std::string text(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, value, -1, text.data(), size, nullptr, nullptr);
    text.pop_back(); // the closing zero
    return text;
}

class WindowsRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        if (Expected(L"BRINEVAR_WINE_TOOL").empty())
            GTEST_SKIP() << "the registry values come from scripts/wine-test.sh";
    }
    Registry &registry = SystemRegistry();
};

TEST_F(WindowsRegistry, ReadsBothEntries)
{
    std::string value;
    Result readable;
    EXPECT_TRUE(GetKeyValue(registry, kHKeyLocalMachine, kToolKey, kToolValue, value, readable));
    EXPECT_EQ(value, Expected(L"BRINEVAR_WINE_TOOL"));
    EXPECT_TRUE(
        GetKeyValue(registry, kHKeyLocalMachine, kLocationKey, kLocationValue, value, readable));
    EXPECT_TRUE(readable);
    EXPECT_EQ(value, Expected(L"BRINEVAR_WINE_FOLDER"));
    // The folder ends in a backslash: the doubled one must still find the file.
    EXPECT_TRUE(IsOrdinaryFile(value + std::string(kSysInfoProgram)));
}

TEST_F(WindowsRegistry, ReadsOtherTypes)
{
    std::string value = "before";
    Result readable;
    EXPECT_TRUE(
        GetKeyValue(registry, kHKeyLocalMachine, kToolKey, "BrinevarNumber", value, readable));
    EXPECT_EQ(value, Expected(L"BRINEVAR_WINE_NUMBER"));
    value = "before";
    EXPECT_TRUE(
        GetKeyValue(registry, kHKeyLocalMachine, kToolKey, "BrinevarExpand", value, readable));
    EXPECT_EQ(value, "before");
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kToolKey, "Missing", value, readable));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, kToolKey + "\\Missing", kToolValue, value,
                             readable));
    EXPECT_TRUE(readable);
    EXPECT_FALSE(
        GetKeyValue(registry, kHKeyLocalMachine, kToolKey, "BrinevarEmpty", value, readable));
    EXPECT_FALSE(readable);
}

TEST_F(WindowsRegistry, StartSysInfoFindsTheTool)
{
    std::vector<std::string> started, messages;
    StartSysInfo({{registry, IsOrdinaryFile,
                   [&](const std::string &commandLine) {
                       started.push_back(commandLine);
                       return Result();
                   }},
                  [&](const std::string &text) { messages.push_back(text); }});
    EXPECT_EQ(started, std::vector<std::string>{Expected(L"BRINEVAR_WINE_TOOL")});
    EXPECT_TRUE(messages.empty());
}

#endif

} // namespace
