// Where tanks.ini lives: beside a build or portable copy, per user for an
// installed one, also when the user (root, say) could write the install folder.
#include "programfolder.h"
#include "testfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#ifndef _WIN32
#include "unsetvariables.h"

#include <pwd.h>
#include <unistd.h>
#endif

using namespace brinevar;

namespace fs = std::filesystem;

TEST(ProgramFolder, InstalledCopiesAreToldFromBuildAndPortableOnes)
{
    TestFolder scratch;
    const fs::path build = scratch.path() / "build" / "app";
    fs::create_directories(build);
    EXPECT_FALSE(IsInstalledCopy(build));
    EXPECT_FALSE(IsInstalledCopy(build / ""));
    EXPECT_TRUE(IsInstalledCopy(scratch.path() / "missing" / "bin")) << "a folder not writable";
    // A probe file that a killed copy left behind is no sign of anything.
    std::ofstream(build / ".brinevar-write-test") << "left behind";
    EXPECT_FALSE(IsInstalledCopy(build));

    const fs::path bin = InstalledProgramFolder();
    if (bin.empty())
        return;
    EXPECT_TRUE(IsInstalledCopy(bin));
    EXPECT_TRUE(IsInstalledCopy(bin / ""));
    EXPECT_TRUE(IsInstalledCopy(bin / ".." / bin.filename()));
    if (fs::is_directory(bin)) {
        // Reached through a link, as /bin leads to /usr/bin.
        const fs::path link = scratch.path() / "linked-bin";
        fs::create_directory_symlink(bin, link);
        EXPECT_TRUE(IsInstalledCopy(link));
    }
}

#ifndef _WIN32
TEST(ProgramFolder, TheBuildKnowsWhereItInstallsTo)
{
    ASSERT_FALSE(InstalledProgramFolder().empty());
    EXPECT_TRUE(InstalledProgramFolder().is_absolute());
}

TEST(ProgramFolder, AnInstalledCopyKeepsTheCopyPerUserEvenWhenWritable)
{
    // Running as root makes the install folder writable; the copy must still
    // not land beside the installed program.
    TestFolder data;
    const Places places = PlacesOf(InstalledProgramFolder(), data.path() / "Brinevar");
    EXPECT_EQ(places.settingsCopy, data.path() / "Brinevar" / "tanks.ini");
    EXPECT_TRUE(fs::is_directory(data.path() / "Brinevar"));

    // Without HOME: the account's home folder, never the working folder.
    const fs::path folder = [] {
        const UnsetVariables unset{"HOME", "XDG_DATA_HOME"};
        return UserDataFolder();
    }();
    const passwd *account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(folder, fs::path(account->pw_dir) / ".local/share/Brinevar");
}
#endif

TEST(ProgramFolder, APortableCopyKeepsTheCopyBesideItself)
{
    TestFolder portable, data;
    const Places places = PlacesOf(portable.path(), data.path() / "Brinevar");
    EXPECT_EQ(places.settingsCopy, portable.path() / "tanks.ini");
    EXPECT_EQ(places.saveLock, data.path() / "Brinevar" / "save.lock");
    // The real answer: the folder of this test program.
    const fs::path self = fs::absolute(fs::path(testing::internal::GetArgvs()[0]));
    EXPECT_TRUE(fs::equivalent(ProgramFolder(), self.parent_path()));
}
