// The system information launcher over a registry in memory: which entries
// it reads, what it starts and when it gives up.
#include "fakeregistry.h"
#include "launcher.h"
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

using namespace brinevar;
using namespace std::string_literals;

namespace {

const std::string kToolKey(kSysInfoKey);
const std::string kLocationKey(kSysInfoLocationKey);

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
        return {{registry,
                 [this](const std::string &name) {
                     tested.push_back(name);
                     return files.contains(name);
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

TEST(StartSysInfo, EachClickStartsTheToolAgain)
{
    FakeMachine machine;
    machine.registry.keys[kToolKey]["PATH"] = Text(kTool + '\0');
    machine.files = {kTool};
    StartSysInfo(machine.system());
    StartSysInfo(machine.system());
    EXPECT_EQ(machine.started, (std::vector<std::string>{kTool, kTool}));
    EXPECT_TRUE(machine.messages.empty());
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

} // namespace
