// Windows' look-up of the system information tool, over a registry in
// memory (which entries it reads, what it starts and when it gives up) and
// over the machine's own registry.
#include "fakeregistry.h"
#include "file.h"
#include "launcher.h"
#include "sysinfo.h"
#include "widetext.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

using namespace brinevar;
using namespace std::string_literals;

namespace {

const std::string kToolKey(kSysInfoKey), kToolValue(kSysInfoValue);
const std::string kLocationKey(kSysInfoLocationKey), kLocationValue(kSysInfoLocationValue);

FakeRegistry::Value Text(std::string bytes)
{
    return {kRegSz, std::move(bytes)};
}

// The machine around the registry: the files that exist, and a launcher that
// starts what names an existing file, as the real one does; an empty command
// line names nothing.
struct FakeMachine {
    FakeRegistry registry;
    std::set<std::string> files;
    std::vector<std::string> tested, started;
    std::vector<std::string> messages;

    SysInfoSystem system()
    {
        return {{[this](std::string &commandLine) {
                     return FindSysInfo(
                         registry,
                         [this](const std::string &name) {
                             tested.push_back(name);
                             return files.contains(name);
                         },
                         commandLine);
                 },
                 [this](const std::string &commandLine) {
                     started.push_back(commandLine);
                     return files.contains(commandLine) ? Result() : CouldNotStart(commandLine, {});
                 }},
                [this](const std::string &text) { messages.push_back(text); }};
    }
};

struct Lookups {
    const char *name;
    std::optional<FakeRegistry::Value> tool;     // lookup 1; nullopt: key absent
    std::optional<FakeRegistry::Value> location; // lookup 2; nullopt: key absent
    std::set<std::string> files;
    // Expected:
    std::vector<std::string> started; // every start tried, in order
    bool message;
    bool locationRead;
};

std::ostream &operator<<(std::ostream &out, const Lookups &row)
{
    return out << row.name;
}

class StartSysInfoTest : public testing::TestWithParam<Lookups> {};

TEST_P(StartSysInfoTest, FindsStartsOrSaysUnavailable)
{
    const Lookups &row = GetParam();
    FakeMachine machine;
    if (row.tool)
        machine.registry.keys[kToolKey]["PATH"] = *row.tool;
    if (row.location)
        machine.registry.keys[kLocationKey]["MSINFO"] = *row.location;
    machine.files = row.files;

    StartSysInfo(machine.system());

    EXPECT_EQ(machine.started, row.started);
    EXPECT_EQ(machine.messages, row.message
                                    ? std::vector<std::string>{std::string(kSysInfoUnavailable)}
                                    : std::vector<std::string>{});
    EXPECT_EQ(machine.registry.askedFor(kLocationKey), row.locationRead);
    ASSERT_FALSE(machine.registry.reads.empty());
    for (const FakeRegistry::Read &read : machine.registry.reads) {
        EXPECT_EQ(read.root, kHKeyLocalMachine);
        EXPECT_EQ(read.access, 0x20019u) << "read access only";
    }
}

const std::string kTool = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
const std::string kFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
const FakeRegistry::Value kGoodLocation = Text(kFolder + '\0');
const std::string kCandidate = kFolder + "\\MSINFO32.EXE";

INSTANTIATE_TEST_SUITE_P(
    Lookups, StartSysInfoTest,
    testing::Values(
        Lookups{"ToolFoundAndStartable",
                Text(kTool + '\0'),
                kGoodLocation,
                {kTool, kCandidate},
                {kTool},
                false,
                false},
        Lookups{"ToolNamesMissingFile",
                Text("C:\\Gone\\msinfo32.exe"),
                kGoodLocation,
                {kCandidate},
                {"C:\\Gone\\msinfo32.exe"},
                true,
                false},
        Lookups{"ToolAbsentFolderWithoutBackslash",
                std::nullopt,
                kGoodLocation,
                {kCandidate},
                {kCandidate},
                false,
                true},
        Lookups{"ToolAbsentFolderWithBackslash",
                std::nullopt,
                Text("C:\\MSInfo\\\0"s),
                {"C:\\MSInfo\\\\MSINFO32.EXE"},
                {"C:\\MSInfo\\\\MSINFO32.EXE"},
                false,
                true},
        Lookups{"ToolAbsentFolderWithoutTheTool", std::nullopt, kGoodLocation, {}, {}, true, true},
        Lookups{"BothAbsent", std::nullopt, std::nullopt, {kTool, kCandidate}, {}, true, true},
        Lookups{
            "ToolWithoutClosingZero", Text(kTool), kGoodLocation, {kTool}, {kTool}, false, false},
        Lookups{"ToolLongerThanTheBufferCountsAsAbsent",
                Text(std::string(1025, 'x')),
                kGoodLocation,
                {kCandidate},
                {kCandidate},
                false,
                true},
        Lookups{"LocationLongerThanTheBufferCountsAsAbsent",
                std::nullopt,
                Text(std::string(1100, 'x')),
                {},
                {},
                true,
                true},
        Lookups{"ToolOfSizeZeroFailsWithoutLookup2",
                Text(""),
                kGoodLocation,
                {kCandidate},
                {},
                true,
                false},
        Lookups{
            "LocationOfSizeZeroFails", std::nullopt, Text(""), {"\\MSINFO32.EXE"}, {}, true, true},
        Lookups{"ToolExpandableStringStartsEmptyCommandLine",
                FakeRegistry::Value{kRegExpandSz, "%SystemRoot%\\msinfo32.exe\0"s},
                kGoodLocation,
                {kCandidate},
                {""},
                true,
                false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(StartSysInfo, ToolKeyPresentButValueMissingFallsBackToLocation)
{
    FakeMachine machine;
    machine.registry.keys[kToolKey] = {}; // the key exists, its PATH does not
    machine.registry.keys[kLocationKey]["MSINFO"] = kGoodLocation;
    machine.files = {kCandidate};
    StartSysInfo(machine.system());
    ASSERT_EQ(machine.registry.reads.size(), 2u);
    EXPECT_EQ(machine.registry.reads[0].value, "PATH");
    EXPECT_EQ(machine.registry.reads[1].key + "|" + machine.registry.reads[1].value,
              kLocationKey + "|MSINFO");
    EXPECT_EQ(machine.started, std::vector<std::string>{kCandidate});
}

struct Reading {
    const char *name;
    FakeRegistry::Value value;
    bool found;
    std::string text; // KeyVal afterwards, when it came in as "before"
};

std::ostream &operator<<(std::ostream &out, const Reading &row)
{
    return out << row.name;
}

class GetKeyValueTest : public testing::TestWithParam<Reading> {};

TEST_P(GetKeyValueTest, ReadsTheValueAsText)
{
    const Reading &row = GetParam();
    FakeRegistry registry;
    registry.keys["Key"]["Value"] = row.value;
    std::string text = "before";
    Result readable;
    EXPECT_EQ(GetKeyValue(registry, kHKeyLocalMachine, "Key", "Value", text, readable), row.found);
    EXPECT_EQ(text, row.text);
    EXPECT_TRUE(readable);
    EXPECT_EQ(registry.reads.size(), 1u);
}

std::string Bytes(std::initializer_list<unsigned char> bytes)
{
    return {bytes.begin(), bytes.end()};
}

// GCC 12 sees the copies GoogleTest makes of these rows as possibly
// uninitialised when it optimises (a false positive).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
INSTANTIATE_TEST_SUITE_P(
    Values, GetKeyValueTest,
    testing::Values(
        Reading{"StringWithClosingZero", Text("C:\\x.exe\0"s), true, "C:\\x.exe"},
        Reading{"StringWithoutClosingZero", Text("C:\\x.exe"), true, "C:\\x.exe"},
        Reading{"OnlyOneClosingZeroIsCut", Text("ab\0\0"s), true, "ab\0"s},
        Reading{"StringOfOneZeroIsEmpty", Text(std::string(1, '\0')), true, ""},
        Reading{"StringFillingTheBuffer", Text(std::string(1024, 'a')), true,
                std::string(1024, 'a')},
        Reading{"StringOfBufferSizeWithClosingZero", Text(std::string(1023, 'b') + '\0'), true,
                std::string(1023, 'b')},
        Reading{"StringLongerThanTheBuffer", Text(std::string(1025, 'a')), false, ""},
        Reading{"StringInTheAnsiCodePage", Text("Z\xFCrich\0"s), true, "Z\xC3\xBCrich"},
        Reading{"Number", {kRegDword, Bytes({0x78, 0x56, 0x34, 0x12})}, true, "305419896"},
        Reading{
            "NumberWithZeroHighBytes", {kRegDword, Bytes({0x00, 0x01, 0x00, 0x00})}, true, "256"},
        Reading{"NumberWithTopBitIsUnsigned",
                {kRegDword, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
                true,
                "4294967295"},
        Reading{"NumberZero", {kRegDword, Bytes({0, 0, 0, 0})}, true, "0"},
        Reading{"ShortNumber", {kRegDword, Bytes({0x34, 0x12})}, true, "4660"},
        Reading{"ExpandableStringKeepsKeyVal", {kRegExpandSz, "%windir%\0"s}, true, "before"},
        Reading{"BinaryKeepsKeyVal", {kRegBinary, Bytes({1, 2, 3})}, true, "before"}),
    [](const auto &info) { return std::string(info.param.name); });
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

TEST(GetKeyValue, MissingKeyOrValueEmptiesKeyVal)
{
    FakeRegistry registry;
    registry.keys["Key"]["Other"] = Text("x");
    for (const auto &[key, value] : {std::pair{"Key", "Value"}, std::pair{"Nowhere", "Value"}}) {
        std::string text = "before";
        Result readable;
        EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, key, value, text, readable));
        EXPECT_EQ(text, "");
        EXPECT_TRUE(readable) << "a missing value is no reason to stop looking";
    }
}

TEST(GetKeyValue, SizeZeroFailsTheRead)
{
    FakeRegistry registry;
    registry.keys["Key"]["Value"] = {kRegSz, ""};
    std::string text = "before";
    Result readable;
    EXPECT_FALSE(GetKeyValue(registry, kHKeyLocalMachine, "Key", "Value", text, readable));
    EXPECT_FALSE(readable);
    EXPECT_EQ(text, "");
}

TEST(GetKeyValue, AsksForReadAccessOnly)
{
    // The fake, like Windows for a standard user, refuses a read that asks
    // to set values or create subkeys or links (as the mask 0x2003F did).
    FakeRegistry registry;
    registry.keys["Key"]["Value"] = Text("x");
    std::string text;
    Result readable;
    EXPECT_TRUE(GetKeyValue(registry, kHKeyLocalMachine, "Key", "Value", text, readable));
    EXPECT_EQ(registry.reads.at(0).access, 0x20019u);
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
    StartSysInfo({{[&](std::string &commandLine) {
                       return FindSysInfo(registry, IsOrdinaryFile, commandLine);
                   },
                   [&](const std::string &commandLine) {
                       started.push_back(commandLine);
                       return Result();
                   }},
                  [&](const std::string &text) { messages.push_back(text); }});
    EXPECT_EQ(started, std::vector<std::string>{Expected(L"BRINEVAR_WINE_TOOL")});
    EXPECT_TRUE(messages.empty());
}

// The per-user store's reader: every character of a name or a text survives,
// and a text longer than the first buffer is read whole.
TEST(ReadRegistryText, ReadsAnyTextWhole)
{
    const std::wstring key = L"Software\\Brinevar test \u00e9\u0416";
    const std::wstring longText = std::wstring(700, L'\u0416') + L"\\";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Path \u4e2d", REG_SZ,
                              longText.c_str(), DWORD((longText.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    const DWORD number = 7;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Number", REG_DWORD, &number,
                              sizeof number),
              ERROR_SUCCESS);
    std::string text;
    const std::string keyName = "Software\\Brinevar test \u00e9\u0416";
    ASSERT_TRUE(ReadRegistryText(kHKeyCurrentUser, keyName, "Path \u4e2d", text));
    EXPECT_EQ(text, WideToUtf8(longText));
    EXPECT_FALSE(ReadRegistryText(kHKeyCurrentUser, keyName, "Number", text)) << "not a text";
    EXPECT_FALSE(ReadRegistryText(kHKeyCurrentUser, keyName, "Missing", text));
    EXPECT_FALSE(ReadRegistryText(kHKeyCurrentUser, keyName + "\\Missing", "Path", text));
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

} // namespace
