// Where the system information tool is away from Windows: the first of the
// programs that is installed.
#include "sysinfo.h"
#include "testfolder.h"

#include <gtest/gtest.h>

using namespace brinevar;

namespace {

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

class FindSysInfoTest : public testing::TestWithParam<Installed> {};

TEST_P(FindSysInfoTest, FindsTheFirstInstalledProgram)
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
    const std::vector<std::string> names{path("a"), path("b"), path("c")};
    const std::vector<std::string_view> programs(names.begin(), names.end());

    std::string commandLine;
    const Result found = FindSysInfo(programs, commandLine);
    EXPECT_EQ(bool(found), !row.answer.empty());
    EXPECT_EQ(commandLine, row.answer.empty() ? "" : path(row.answer));
}

INSTANTIATE_TEST_SUITE_P(
    Programs, FindSysInfoTest,
    testing::Values(
        Installed{"NoneInstalled", {}, ""}, Installed{"OnlyTheFirst", {{"a", Kind::Program}}, "a"},
        Installed{"OnlyTheLast", {{"c", Kind::Program}}, "c"},
        Installed{"FirstOfSeveral", {{"b", Kind::Program}, {"c", Kind::Program}}, "b"},
        Installed{"NotExecutableIsSkipped", {{"a", Kind::PlainFile}, {"b", Kind::Program}}, "b"},
        Installed{"FolderIsSkipped", {{"a", Kind::Folder}, {"c", Kind::Program}}, "c"},
        Installed{"NothingUsable", {{"a", Kind::Folder}, {"b", Kind::PlainFile}}, ""}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
