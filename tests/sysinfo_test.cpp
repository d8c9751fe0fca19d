// StartSysInfo over a machine that says where the tool is, or that there is
// none: what it starts and when it gives up.
#include "sysinfo.h"

#include <gtest/gtest.h>

#include <optional>

using namespace brinevar;

namespace {

struct FakeMachine {
    std::optional<std::string> tool; // where the tool is; nullopt: nowhere
    bool starts = true;
    std::vector<std::string> started, messages;

    SysInfoSystem system()
    {
        return {{[this](std::string &commandLine) {
                     if (!tool)
                         return Result::Failure("nowhere");
                     commandLine = *tool;
                     return Result();
                 },
                 [this](const std::string &commandLine) {
                     started.push_back(commandLine);
                     return starts ? Result() : Result::Failure("refused");
                 }},
                [this](const std::string &text) { messages.push_back(text); }};
    }
};

const std::vector<std::string> kUnavailable{std::string(kSysInfoUnavailable)};

TEST(StartSysInfo, StartsTheToolFoundOnEveryClick)
{
    FakeMachine machine;
    machine.tool = "/usr/bin/tool";
    StartSysInfo(machine.system());
    StartSysInfo(machine.system());
    EXPECT_EQ(machine.started, (std::vector<std::string>{"/usr/bin/tool", "/usr/bin/tool"}));
    EXPECT_TRUE(machine.messages.empty());
}

TEST(StartSysInfo, AnyFailureGivesTheOneMessage)
{
    FakeMachine nowhere;
    StartSysInfo(nowhere.system());
    EXPECT_TRUE(nowhere.started.empty());
    EXPECT_EQ(nowhere.messages, kUnavailable);

    FakeMachine refused;
    refused.tool = "/usr/bin/tool";
    refused.starts = false;
    StartSysInfo(refused.system());
    EXPECT_EQ(refused.started, std::vector<std::string>{"/usr/bin/tool"});
    EXPECT_EQ(refused.messages, kUnavailable);
}

} // namespace
